#include "EditorTestSupport.h"

#include "editor/EditorLayout.h"

#include <gtest/gtest.h>

using Rect = juce::Rectangle<int>;

namespace
{
EditorLayout::Input sized(int width, int height, bool frozen = false)
{
    EditorLayout::Input in;
    in.width = width;
    in.height = height;
    in.lagWidth = 60;
    in.algorithmWidth = in.modeWidth = 50;
    in.captureSizeWidth = in.windowSizeWidth = 40;
    in.frozen = frozen;
    return in;
}
} // namespace

TEST(EditorLayout, PlacesTheStripAndTheRowAtTheInitialSize)
{
    auto in = sized(700, 550);
    in.warningHeight = 300;
    const auto l = EditorLayout::compute(in);

    EXPECT_EQ(l.strip, Rect(0, 482, 700, 68));
    EXPECT_EQ(l.logo, Rect(0, 482, 68, 68));
    EXPECT_EQ(l.tooltip, Rect(72, 532, 556, 14));
    EXPECT_EQ(l.play, Rect(92, 485, 43, 43));
    EXPECT_EQ(l.freeze, Rect(139, 485, 43, 43));
    EXPECT_EQ(l.save, Rect(186, 485, 43, 43));

    // From 692 leftwards without gaps: Smoothing, Size, Mode, Y Lag, X Lag, Scale.
    EXPECT_EQ(l.smoothingDisplay, Rect(620, 482, 72, 50));
    EXPECT_EQ(l.windowSize, Rect(580, 482, 40, 50));
    EXPECT_EQ(l.mode, Rect(530, 482, 50, 50));
    EXPECT_EQ(l.yLag, Rect(470, 482, 60, 50));
    EXPECT_EQ(l.xLag, Rect(410, 482, 60, 50));
    EXPECT_EQ(l.scaleDisplay, Rect(288, 482, 122, 50));

    EXPECT_EQ(l.visualizer, Rect(0, 0, 700, 482));
    EXPECT_EQ(l.warning, Rect(150, 91, 400, 300));
}

TEST(EditorLayout, FrozenAndLiveShowTheirPairInTheSamePlace)
{
    const auto live = EditorLayout::compute(sized(700, 550, false));
    const auto frozen = EditorLayout::compute(sized(700, 550, true));
    EXPECT_EQ(frozen.algorithm, live.mode);
    EXPECT_EQ(frozen.captureSize, live.windowSize);
    EXPECT_EQ(frozen.scaleDisplay, live.scaleDisplay);

    auto withPanels = sized(700, 550);
    withPanels.scalePanelShown = withPanels.smoothingPanelShown = true;
    const auto panels = EditorLayout::compute(withPanels);
    EXPECT_EQ(panels.scalePanel, Rect(288, 382, 122, 100));
    EXPECT_EQ(panels.smoothingPanel, Rect(620, 382, 72, 100));
}

TEST(EditorLayout, FollowsTheHostToTheSmallestAndLargestSizes)
{
    const auto small = EditorLayout::compute(sized(600, 400));
    EXPECT_EQ(small.strip, Rect(0, 332, 600, 68));
    EXPECT_EQ(small.tooltip, Rect(72, 382, 456, 14));
    EXPECT_EQ(small.play, Rect(92, 335, 43, 43));
    EXPECT_EQ(small.smoothingDisplay.getRight(), 592);
    EXPECT_EQ(small.visualizer, Rect(0, 0, 600, 332));

    const auto large = EditorLayout::compute(sized(1600, 2000));
    EXPECT_EQ(large.strip, Rect(0, 1932, 1600, 68));
    EXPECT_EQ(large.tooltip, Rect(72, 1982, 1456, 14));
    EXPECT_EQ(large.save, Rect(186, 1935, 43, 43));
    EXPECT_EQ(large.smoothingDisplay, Rect(1520, 1932, 72, 50));
    EXPECT_EQ(large.visualizer, Rect(0, 0, 1600, 1932));
}

TEST(EditorLayout, AWindowOnlyAStripHighOrALogoWide)
{
    const auto low = EditorLayout::compute(sized(700, 60));
    EXPECT_EQ(low.strip, Rect(0, 0, 700, 60));
    EXPECT_EQ(low.tooltip, Rect(72, 50, 556, 6));
    EXPECT_EQ(low.play, Rect(92, 3, 43, 43));
    EXPECT_EQ(low.visualizer.getHeight(), 0);

    const auto narrow = EditorLayout::compute(sized(100, 550));
    EXPECT_EQ(narrow.logo, Rect(0, 482, 68, 68));
    EXPECT_EQ(narrow.tooltip, Rect(72, 532, 0, 14));
}

// The window as built, with the widths its fonts give the measured controls.
TEST(EditorWindowLayout, OpensAt700By550WithTheRowRightAlignedAndThePairsSharingTheirPlace)
{
    editortest::ProbeUnderTest probe;
    PluginProcessorEditor editor(*probe.processor);
    ASSERT_EQ(editor.getWidth(), 700);
    ASSERT_EQ(editor.getHeight(), 550);

    auto& at = editor;
    const auto bounds = [&at](const char* name) { return editortest::find(at, name)->getBounds(); };
    EXPECT_EQ(bounds("play").getX(), 92);
    EXPECT_EQ(bounds("freeze").getX(), 139);
    EXPECT_EQ(bounds("saveTransferFunction").getX(), 186);

    // Right to left, each control ends where the one to its right begins.
    const char* liveRow[] = {"smoothingDisplay", "windowSizeCombo", "modeCombo",
                             "yLagBox",          "xLagBox",         "scaleDisplay"};
    auto right = 692;
    for (const auto* name : liveRow)
    {
        EXPECT_EQ(bounds(name).getRight(), right) << name;
        EXPECT_EQ(bounds(name).getHeight(), 50) << name;
        right = bounds(name).getX();
    }
    EXPECT_EQ(bounds("xLagBox").getWidth(), bounds("yLagBox").getWidth());
    const auto liveMode = bounds("modeCombo");
    const auto liveWindow = bounds("windowSizeCombo");

    editor.freeze();
    EXPECT_EQ(bounds("algorithmCombo"), liveMode);
    EXPECT_EQ(bounds("captureSizeCombo"), liveWindow);
    EXPECT_FALSE(editortest::find(editor, "modeCombo")->isVisible());
    EXPECT_TRUE(editortest::find(editor, "algorithmCombo")->isVisible());

    editor.setSize(700, 60);
    EXPECT_EQ(bounds("visualizer").getHeight(), 0);
    EXPECT_EQ(bounds("tooltipPanel"), Rect(72, 50, 556, 6));
}
