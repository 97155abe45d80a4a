#include "EditorTestSupport.h"

#include "editor/ArtistNameDialog.h"
#include "editor/InlineComboBoxAttachment.h"
#include "editor/ScaleControlsPanel.h"
#include "editor/SmoothingControlsPanel.h"
#include "editor/WarningOverlayPanel.h"

#include <gtest/gtest.h>

using Rect = juce::Rectangle<int>;

TEST(ControlPanels, KnobsAndCaptionsFillTheCardsAboveTheReadOuts)
{
    ui_panels::ScaleControlsPanel scale;
    scale.setStyle(ui_panels::scalePanelPreset()); // padding 6, gaps 8 and 2; captions 14 high
    scale.setSize(122, 100);
    ASSERT_EQ(scale.getXLabel().getPreferredHeight(), 14);
    // a = 88 - 2 - 14 = 72, b = (110 - 8) / 2 = 51: knobs of 51 under captions 55 wide.
    EXPECT_EQ(scale.getXKnob().getBounds(), Rect(6, 32, 51, 51));
    EXPECT_EQ(scale.getYKnob().getBounds(), Rect(65, 32, 51, 51));
    EXPECT_EQ(scale.getXLabel().getBounds(), Rect(4, 16, 55, 14));
    EXPECT_EQ(scale.getYLabel().getBounds(), Rect(63, 16, 55, 14));

    ui_panels::SmoothingControlsPanel smoothing;
    smoothing.setStyle(ui_panels::smoothingPanelPreset());
    smoothing.setSize(72, 100);
    EXPECT_EQ(smoothing.getKnob().getBounds(), Rect(6, 20, 60, 60));

    // Never smaller than 40, even in a card too small for it.
    smoothing.setSize(30, 30);
    EXPECT_EQ(smoothing.getKnob().getWidth(), 40);
}

TEST(InlineComboBoxAttachment, ChoicesAndParameterMoveTogetherWithoutEchoes)
{
    editortest::ProbeUnderTest probe;
    auto& state = probe.processor->getParameterState();
    auto* window = state.getParameter(ParameterIDs::timeWindow);
    auto* mode = state.getParameter(ParameterIDs::visualizationMode);

    ui_core::InlineComboBox windowCombo("Size"), modeCombo("Mode");
    for (int id = 1; id <= 5; ++id)
        windowCombo.addItem(juce::String(id), id);
    modeCombo.addItem("tfunc", 1);
    modeCombo.addItem("time", 2);
    std::vector<int> modeChoices;
    ui_panels::InlineComboBoxAttachment windowBinding(state, ParameterIDs::timeWindow, windowCombo);
    ui_panels::InlineComboBoxAttachment modeBinding(state, ParameterIDs::visualizationMode, modeCombo);
    EXPECT_EQ(windowCombo.getSelectedId(), 3) << "the current value (2k) at construction";

    // The user picks "8k" (id 5 of 5) and then "500" (id 1).
    windowCombo.onChange(5);
    EXPECT_FLOAT_EQ(window->getValue(), 1.0f);
    windowCombo.onChange(1);
    EXPECT_FLOAT_EQ(window->getValue(), 0.0f);

    // The host automates the mode to "time": the box follows and nothing is written back.
    struct Writes : juce::AudioProcessorParameter::Listener
    {
        int gestures = 0;
        void parameterValueChanged(int, float) override {}
        void parameterGestureChanged(int, bool starting) override { gestures += starting ? 1 : 0; }
    } writes;
    mode->addListener(&writes);
    mode->setValueNotifyingHost(1.0f);
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return modeCombo.getSelectedId() == 2; }));
    testsupport::runMessageLoopFor(std::chrono::milliseconds(20));
    EXPECT_EQ(writes.gestures, 0);
    mode->removeListener(&writes);

    // A missing parameter leaves the box alone and ignores its changes.
    ui_core::InlineComboBox orphan("None");
    orphan.addItem("a", 1);
    orphan.setSelectedId(1);
    {
        ui_panels::InlineComboBoxAttachment unbound(state, "noSuchParameter", orphan);
        EXPECT_EQ(orphan.getSelectedId(), 1);
        EXPECT_FALSE(orphan.onChange);
    }
}

TEST(WarningOverlayPanel, PreferredHeightAddsEachShownSectionAndItsGap)
{
    ui_panels::WarningOverlayPanel card;
    card.setStyle(ui_panels::warningOverlayPreset()); // padding 24, gaps 8 and 12, diagram 100
    EXPECT_EQ(card.getPreferredHeight(), 48 + 100 + 12) << "only the diagram";

    card.setTitle(ui_panels::WarningTexts::title);
    EXPECT_EQ(card.getPreferredHeight(), 48 + 20 + 8 + 100 + 12) << "a title of 19.26 px takes 20";

    auto style = card.getStyle();
    style.diagramHeight = 0;
    card.setStyle(style);
    EXPECT_EQ(card.getPreferredHeight(), 48 + 20 + 8);

    // The full card is taller than one line per text and fits in the plot of the initial window.
    card.setStyle(ui_panels::warningOverlayPreset());
    card.setDescription(ui_panels::WarningTexts::description);
    card.setInstructions(ui_panels::WarningTexts::instructions);
    const auto full = card.getPreferredHeight();
    EXPECT_GT(full, 48 + 28 + 112 + 3 * 18 + 3 * 18);
    EXPECT_LT(full, 482);
}

TEST(ArtistNameDialog, LaysOutTheFieldAndTheButtonsForEachUse)
{
    ui_panels::ArtistNameDialog dialog; // 380 x 175: content 332 x 127
    const auto bounds = [&dialog](const char* id) { return dialog.findChildWithID(id)->getBounds(); };
    EXPECT_EQ(bounds("artistNameEditor"), Rect(24, 87, 332, 28));
    EXPECT_EQ(bounds("saveBtn"), Rect(286, 123, 70, 28));
    EXPECT_EQ(bounds("cancelBtn"), Rect(202, 123, 80, 28));
    EXPECT_FALSE(dialog.findChildWithID("skipBtn")->isVisible());

    // Before a save: from the right Save, Skip, Don't Ask Again.
    dialog.setSavingButtonsVisible(true);
    EXPECT_FALSE(dialog.findChildWithID("cancelBtn")->isVisible());
    EXPECT_EQ(bounds("saveBtn"), Rect(286, 123, 70, 28));
    EXPECT_EQ(bounds("skipBtn"), Rect(212, 123, 70, 28));
    EXPECT_EQ(bounds("dnaBtn"), Rect(68, 123, 140, 28));
}
