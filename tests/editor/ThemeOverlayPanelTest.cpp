// The "Customize Colors" card: its layout, its painting, and the controls driven through the desktop.
#include "editor/ThemeOverlayPanel.h"

#include "controls/DeferredDeletion.h"
#include "controls/ReferenceImage.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTestSupport.h"
#include "support/DesktopHarness.h"

#include <gtest/gtest.h>

#include <tuple>

using testsupport::closeTo;
using testsupport::DesktopWindow;
using ui_panels::ThemeOverlayPanel;
using ui_panels::ThemeOverlayValues;

namespace
{
using Six = std::tuple<float, float, float, float, bool, float>;

juce::Component& childTitled(juce::Component& parent, const juce::String& title)
{
    for (auto* child : parent.getChildren())
        if (child->getTitle() == title)
            return *child;
    ADD_FAILURE() << "no control titled " << title;
    return parent;
}

juce::Slider& sliderTitled(ThemeOverlayPanel& panel, const juce::String& title)
{
    return dynamic_cast<juce::Slider&>(childTitled(panel, title));
}

// The point of a slider's track that stands for the fraction of its range (inset 4 at both ends).
juce::Point<float> trackPoint(juce::Rectangle<int> slider, double fraction)
{
    return {static_cast<float>(slider.getX() + 4 + (slider.getWidth() - 8) * fraction),
            slider.toFloat().getCentreY()};
}

// The brightest pixel of an area: the core of the strokes of a text drawn there.
juce::Colour brightestPixel(const juce::Image& image, juce::Rectangle<int> area)
{
    juce::Colour brightest;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (image.getPixelAt(x, y).getPerceivedBrightness() > brightest.getPerceivedBrightness())
                brightest = image.getPixelAt(x, y);
    return brightest;
}

// Whether the area shows exactly the value text, right-aligned on the card.
bool showsValue(const juce::Image& image, juce::Rectangle<int> area, const juce::String& text,
                const ui_panels::ThemeOverlayStyle& style)
{
    juce::Image expected(juce::Image::ARGB, area.getWidth(), area.getHeight(), true);
    juce::Graphics g(expected);
    g.fillAll(style.cardBackground);
    g.setColour(style.valueColour);
    g.setFont(style.valueFont);
    g.drawText(text, expected.getBounds(), juce::Justification::centredRight, false);
    for (int y = 0; y < area.getHeight(); ++y)
        for (int x = 0; x < area.getWidth(); ++x)
            if (!closeTo(image.getPixelAt(area.getX() + x, area.getY() + y), expected.getPixelAt(x, y), 3))
                return false;
    return true;
}

struct Recorder
{
    int changes = 0, oks = 0, cancels = 0;
    ThemeOverlayValues last;

    Six lastSix() const
    {
        return {
            last.primaryHue,  last.secondaryHue, last.primarySaturationScale, last.secondarySaturationScale,
            last.glowEnabled, last.glowIntensity};
    }

    void attach(ThemeOverlayPanel& panel)
    {
        const auto record = [this](int& counter)
        {
            return [this, &counter](float h1, float h2, float s1, float s2, bool glow, float amount)
            {
                ++counter;
                last = {h1, h2, s1, s2, glow, amount};
            };
        };
        panel.onChange = record(changes);
        panel.onOk = record(oks);
        panel.onCancel = [this] { ++cancels; };
    }
};

class ThemeOverlayTest : public ThemeTest
{
protected:
    ThemeOverlayTest() { panel.setStyle(ui_panels::themeOverlayPreset()); }

    ThemeOverlayPanel panel;
};
} // namespace

TEST_F(ThemeOverlayTest, ThemedCardIs320By390CentredWithTheButtonsAcrossItsFoot)
{
    panel.setBounds(0, 0, 800, 600);
    EXPECT_EQ(panel.getCardBounds(), juce::Rectangle<int>(240, 105, 320, 390));
    // Content from (264, 129): title 28, caption 22, then the slider; the buttons end at the padding.
    EXPECT_EQ(sliderTitled(panel, "Primary Hue").getBounds(), juce::Rectangle<int>(264, 179, 272, 20));
    EXPECT_EQ(childTitled(panel, "Glow").getBounds(), juce::Rectangle<int>(516, 357, 20, 20));
    EXPECT_EQ(panel.findChildWithID("resetBtn")->getBounds(), juce::Rectangle<int>(264, 443, 88, 28));
    EXPECT_EQ(panel.findChildWithID("cancelBtn")->getBounds(), juce::Rectangle<int>(356, 443, 88, 28));
    EXPECT_EQ(panel.findChildWithID("okBtn")->getBounds(), juce::Rectangle<int>(448, 443, 88, 28));

    auto wider = ui_panels::themeOverlayPreset();
    wider.cardWidth = 321;
    panel.setStyle(wider);
    EXPECT_EQ(panel.findChildWithID("okBtn")->getWidth(), 89) << "the last button takes the rest";
}

TEST_F(ThemeOverlayTest, PaintsHueSwatchesSaturationValuesAndThumbsInTheTheme)
{
    panel.setBounds(0, 0, 400, 440);
    panel.setValues(0.5f, 0.086f, 1.0f, 1.5f, true, 0.716f);
    const auto& style = panel.getStyle();
    const auto& layout = panel.getLayout();
    const auto image = testsupport::snapshotOver(panel, ui_core::palette().neutral0);
    const auto swatchCentre = [](juce::Rectangle<int> row)
    { return row.getTopRight() + juce::Point<int>(-10, 11); };

    EXPECT_EQ(image.getPixelAt(layout.card.getX() + 10, layout.card.getCentreY()),
              ui_core::palette().neutral1);
    const auto primarySwatch = swatchCentre(layout.primaryHue.label);
    EXPECT_TRUE(
        closeTo(image.getPixelAt(primarySwatch.x, primarySwatch.y), juce::Colour(0.5f, 0.6f, 0.9f, 1.0f), 1));
    const auto secondarySwatch = swatchCentre(layout.secondaryHue.label);
    EXPECT_TRUE(closeTo(image.getPixelAt(secondarySwatch.x, secondarySwatch.y),
                        juce::Colour(0.086f, 0.6f, 0.9f, 1.0f), 1));
    const auto red = trackPoint(layout.primaryHue.slider, 0.01).roundToInt();
    EXPECT_TRUE(closeTo(image.getPixelAt(red.x, red.y), juce::Colour(0.0f, 0.7f, 0.85f, 1.0f), 1))
        << "the hue track starts at red";

    const auto valueBox = [](juce::Rectangle<int> row) { return row.withLeft(row.getRight() - 30); };
    EXPECT_TRUE(showsValue(image, valueBox(layout.primarySaturation.label), "1.00", style));
    EXPECT_TRUE(showsValue(image, valueBox(layout.secondarySaturation.label), "1.50", style));

    const auto thumb = trackPoint(layout.primarySaturation.slider, (1.0 - 0.25) / 1.75).roundToInt();
    EXPECT_EQ(image.getPixelAt(thumb.x, thumb.y), style.thumbColour);

    ui_core::setTheme(0.6f, 0.3f, 1.0f, 1.0f, true, 0.5f);
    panel.setStyle(ui_panels::themeOverlayPreset());
    EXPECT_EQ(testsupport::snapshot(panel).getPixelAt(layout.card.getX() + 10, layout.card.getCentreY()),
              ui_core::palette().neutral1)
        << "the card follows a theme change";
}

TEST_F(ThemeOverlayTest, GlowOffHidesTheAmountTrackAndFadesItsCaptionToThirtyPercent)
{
    panel.setBounds(0, 0, 400, 440);
    const auto& style = panel.getStyle();
    const auto& layout = panel.getLayout();
    // At scale 2, where the strokes of the caption cover whole pixels.
    const auto caption = (layout.glowAmount.label * 2).withWidth(200);
    const auto amountThumb = (trackPoint(layout.glowAmount.slider, 0.716) * 2.0f).roundToInt();
    const auto switchMark = layout.glowSwitch.getCentre() * 2;

    auto image = testsupport::snapshotOver(panel, juce::Colours::black, 2.0f);
    EXPECT_TRUE(closeTo(brightestPixel(image, caption), style.labelColour, 3));
    EXPECT_EQ(image.getPixelAt(amountThumb.x, amountThumb.y), style.thumbColour);
    EXPECT_EQ(image.getPixelAt(switchMark.x, switchMark.y), style.thumbColour);

    panel.setValues(0.011f, 0.086f, 1.0f, 1.0f, false, 0.716f);
    image = testsupport::snapshotOver(panel, juce::Colours::black, 2.0f);
    EXPECT_TRUE(closeTo(brightestPixel(image, caption),
                        style.cardBackground.interpolatedWith(style.labelColour, 0.3f), 3));
    EXPECT_EQ(image.getPixelAt(amountThumb.x, amountThumb.y), style.cardBackground) << "no thumb";
    EXPECT_EQ(image.getPixelAt(amountThumb.x - 40, amountThumb.y), style.cardBackground) << "no track";
    EXPECT_EQ(image.getPixelAt(switchMark.x, switchMark.y), style.trackColour) << "an empty switch";
    EXPECT_FALSE(sliderTitled(panel, "Glow Amount").isEnabled());
    EXPECT_DOUBLE_EQ(sliderTitled(panel, "Glow Amount").getValue(), 0.716);
}

// The card at scale 1 and 2 as the window shows it, for the README and against its references.
TEST_F(ThemeOverlayTest, ThemedCardMatchesItsReferencePictures)
{
    panel.setBounds(0, 0, 368, 438);
    for (const auto scale : {1, 2})
        EXPECT_TRUE(testsupport::matchesReference(
            testsupport::snapshotOver(panel, ui_core::palette().neutral0, static_cast<float>(scale)),
            "theme-overlay-card@" + juce::String(scale) + "x"));
}

// What the editor does: inside the callback, drop the callbacks, take the panel out of the window and
// delete it on a later turn. The buttons are clicked as Return and screen readers click them, so that
// this also runs in the sanitizer builds.
TEST_F(ThemeOverlayTest, OwnerMayDetachThePanelInsideItsCallbacksAndDeleteItLater)
{
    for (const juce::String button : {"okBtn", "cancelBtn"})
    {
        juce::Component window;
        auto owned = std::make_unique<ThemeOverlayPanel>();
        juce::Component::SafePointer<ThemeOverlayPanel> alive(owned.get());
        window.addAndMakeVisible(*owned);

        // Touched after the callback that runs has been dropped.
        auto detachedButAlive = std::make_shared<int>(0);
        const auto close = [&owned, &alive]
        {
            owned->onOk = nullptr;
            owned->onCancel = nullptr;
            ui_core::deleteOnNextMessageLoopTurn(std::move(owned));
            return alive != nullptr && alive->getParentComponent() == nullptr;
        };
        owned->onOk = [close, detachedButAlive](float, float, float, float, bool, float)
        { *detachedButAlive += close(); };
        owned->onCancel = [close, detachedButAlive] { *detachedButAlive += close(); };

        dynamic_cast<juce::Button*>(alive->findChildWithID(button))->triggerClick();
        EXPECT_TRUE(
            testsupport::runMessageLoopUntil([&alive] { return alive == nullptr; }, std::chrono::seconds(2)));
        EXPECT_EQ(*detachedButAlive, 1) << button;
    }
}

class ThemeOverlayOnDesktop : public ThemeOverlayTest
{
protected:
    ThemeOverlayOnDesktop()
    {
        recorder.attach(panel);
        window.add(panel, {0, 0, 400, 440});
    }

    juce::Point<float> onTrack(const juce::String& title, double fraction)
    {
        return trackPoint(sliderTitled(panel, title).getBounds(), fraction);
    }
    void clickChild(const juce::String& id) { window.click(window.centreOf(*panel.findChildWithID(id))); }

    DesktopWindow window{400, 440};
    Recorder recorder;
};

TEST_F(ThemeOverlayOnDesktop, EveryControlReportsAllSixValues)
{
    window.press(onTrack("Primary Hue", 0.25));
    EXPECT_NEAR(recorder.last.primaryHue, 0.25f, 0.002f) << "the thumb lands under the pointer";
    window.drag(onTrack("Primary Hue", 0.75));
    window.release();
    window.click(onTrack("Secondary Saturation", 1.0));
    EXPECT_NEAR(recorder.last.primaryHue, 0.75f, 0.002f) << "the others are passed on";
    EXPECT_EQ(recorder.lastSix(), Six(recorder.last.primaryHue, 0.086f, 1.0f, 2.0f, true, 0.716f));

    const auto changes = recorder.changes;
    window.click(window.centreOf(childTitled(panel, "Glow")));
    EXPECT_EQ(recorder.changes, changes + 1);
    EXPECT_EQ(recorder.lastSix(), Six(recorder.last.primaryHue, 0.086f, 1.0f, 2.0f, false, 0.716f))
        << "the glow amount is kept and still passed on";
    EXPECT_FALSE(sliderTitled(panel, "Glow Amount").isEnabled());

    window.click(onTrack("Glow Amount", 0.1));
    EXPECT_EQ(recorder.changes, changes + 1) << "a disabled slider does not move";

    window.click(window.centreOf(childTitled(panel, "Glow")));
    window.click(onTrack("Glow Amount", 0.5));
    EXPECT_TRUE(recorder.last.glowEnabled);
    EXPECT_NEAR(recorder.last.glowIntensity, 0.5f, 0.002f);
    EXPECT_EQ(recorder.oks + recorder.cancels, 0);
}

TEST_F(ThemeOverlayOnDesktop, ResetShowsAndReportsTheDefaults)
{
    panel.setValues(0.3f, 0.4f, 1.5f, 0.5f, false, 0.2f);
    EXPECT_EQ(recorder.changes, 0) << "setting the values is silent";

    clickChild("resetBtn");
    EXPECT_EQ(recorder.changes, 1);
    EXPECT_EQ(recorder.lastSix(), Six(0.011f, 0.086f, 1.0f, 1.0f, true, 0.716f));
    EXPECT_NEAR(sliderTitled(panel, "Primary Saturation").getValue(), 1.0, 1e-9);
    EXPECT_NEAR(sliderTitled(panel, "Glow Amount").getValue(), 0.716, 1e-9);
    EXPECT_TRUE(sliderTitled(panel, "Glow Amount").isEnabled());
    EXPECT_TRUE(dynamic_cast<juce::Button&>(childTitled(panel, "Glow")).getToggleState());
}

TEST_F(ThemeOverlayOnDesktop, PressBesideTheCardCancelsAndOnItsBackgroundDoesNothing)
{
    const auto card = panel.getCardBounds().toFloat();
    window.click({card.getX() + 8.0f, card.getCentreY()});
    window.click({card.getCentreX(), card.getY() + 6.0f});
    EXPECT_EQ(recorder.changes + recorder.oks + recorder.cancels, 0);

    window.click({5.0f, 5.0f});
    EXPECT_EQ(recorder.cancels, 1);
    clickChild("cancelBtn");
    EXPECT_EQ(recorder.cancels, 2);

    panel.setValues(0.2f, 0.3f, 0.5f, 1.5f, false, 0.4f);
    clickChild("okBtn");
    EXPECT_EQ(recorder.oks, 1);
    EXPECT_EQ(recorder.lastSix(), Six(0.2f, 0.3f, 0.5f, 1.5f, false, 0.4f));
    EXPECT_EQ(recorder.changes, 0);
}

TEST_F(ThemeOverlayOnDesktop, ControlsAreTitledAndTabStaysInTheCard)
{
    const auto order = juce::StringArray::fromTokens(
        "Primary Hue|Secondary Hue|Primary Saturation|Secondary Saturation|Glow|Glow Amount|Reset|Cancel|OK",
        "|", "");
    // A control of the window behind the card, which Tab must not reach while the card is open.
    ui_core::TextButton behind("behind");
    behind.setText("Behind");
    window.add(behind, {0, 0, 60, 30});

    auto& primaryHue = childTitled(panel, order[0]);
    primaryHue.grabKeyboardFocus();
    for (int i = 1; i <= order.size(); ++i)
    {
        window.key(juce::KeyPress(juce::KeyPress::tabKey));
        auto* focused = juce::Component::getCurrentlyFocusedComponent();
        ASSERT_NE(focused, nullptr);
        EXPECT_EQ(focused->getAccessibilityHandler()->getTitle(), order[i % order.size()]);
    }
    EXPECT_TRUE(primaryHue.hasKeyboardFocus(false)) << "wraps around inside the card";

    window.key(juce::KeyPress(juce::KeyPress::rightKey));
    EXPECT_NEAR(recorder.last.primaryHue, 0.021f, 1e-6f) << "a cursor key moves 1 % of the range";

    panel.setValues(0.011f, 0.086f, 1.0f, 1.0f, false, 0.716f);
    childTitled(panel, "Glow").grabKeyboardFocus();
    window.key(juce::KeyPress(juce::KeyPress::tabKey));
    EXPECT_TRUE(panel.findChildWithID("resetBtn")->hasKeyboardFocus(false))
        << "the disabled slider is skipped";
}

TEST_F(ThemeOverlayOnDesktop, IdenticalStyleCausesNoRepaint)
{
    testsupport::PaintCounter counter;
    panel.setComponentEffect(&counter);
    window.root().grabKeyboardFocus();
    testsupport::runMessageLoopUntilQuiet([&] { return counter.paints; });

    counter.paints = 0;
    panel.setStyle(ui_panels::themeOverlayPreset());
    DesktopWindow::pump(std::chrono::milliseconds(60));
    EXPECT_EQ(counter.paints, 0);

    auto nearly = ui_panels::themeOverlayPreset();
    nearly.borderThickness = std::nextafter(nearly.borderThickness, 2.0f);
    panel.setStyle(nearly);
    DesktopWindow::pump(std::chrono::milliseconds(60));
    EXPECT_GT(counter.paints, 0) << "floats are compared exactly";
    panel.setComponentEffect(nullptr);
}
