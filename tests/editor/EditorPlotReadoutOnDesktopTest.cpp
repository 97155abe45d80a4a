// The values under the pointer in the tooltip line, on the Xvfb desktop with the real processor, its
// timer and a host-like audio thread; the pointer moves through the window's peer.
#include "EditorTestSupport.h"

#include "controls/TooltipDisplayPanel.h"

#include <gtest/gtest.h>

#include <optional>

using editortest::find;
using testsupport::DesktopWindow;
using testsupport::runMessageLoopUntil;

namespace
{
using namespace std::chrono_literals;

// The number after `label` in a line such as "x 0.2500 (-12.0 dBFS)   f(x) 0.4621 (-6.7 dBFS)".
std::optional<double> numberAfter(const juce::String& line, const juce::String& label)
{
    juce::StringArray words;
    words.addTokens(line, " ", "");
    words.removeEmptyStrings();
    const auto at = words.indexOf(label);
    if (at < 0 || at + 1 >= words.size() || !words[at + 1].containsOnly("-0123456789."))
        return std::nullopt;
    return words[at + 1].getDoubleValue();
}

class EditorPlotReadoutOnDesktop : public ::testing::Test
{
protected:
    ~EditorPlotReadoutOnDesktop() override
    {
        editor.reset();
        audio.reset();
        DesktopWindow::pump();
    }

    editortest::ProbeUnderTest probe;
    DesktopWindow window{700, 550};
    std::unique_ptr<editortest::AudioThread> audio;
    std::unique_ptr<PluginProcessorEditor> editor;
};
} // namespace

TEST_F(EditorPlotReadoutOnDesktop, FrozenCurveShowsXAndTheTablesValueThereUntilThePointerLeaves)
{
    editor = std::make_unique<PluginProcessorEditor>(*probe.processor);
    window.add(*editor, {0, 0, 700, 550});
    audio = std::make_unique<editortest::AudioThread>(probe);
    ASSERT_TRUE(runMessageLoopUntil([this] { return probe.processor->isCaptureFull(); }));
    auto* freeze = find(*editor, "freeze");
    auto* line = find<ui_core::TooltipDisplayPanel>(*editor, "tooltipPanel");
    ASSERT_TRUE(freeze != nullptr && line != nullptr);
    window.click(window.centreOf(*freeze));
    ASSERT_TRUE(runMessageLoopUntil([this] { return editor->hasCurveOfThisFreeze(); }, 60s));

    // Before the plot: the line shows the tooltip of the control under the pointer.
    window.move(window.centreOf(*freeze));
    ASSERT_TRUE(runMessageLoopUntil(
        [line] { return line->getCurrentText().isNotEmpty() && !line->getCurrentText().startsWith("x "); },
        3s));
    const auto before = line->getCurrentText();

    const auto& plot = editor->getVisualizer();
    const auto data = plot.getDataBounds();
    const auto& table = probe.processor->getTransferFunction();
    juce::String shown;
    for (const auto across : {0.08f, 0.3f, 0.55f, 0.62f, 0.93f})
    {
        const juce::Point<float> pointer(data.getX() + across * data.getWidth(), data.getY() + 40.0f);
        window.move(window.pointIn(plot, pointer));
        ASSERT_TRUE(runMessageLoopUntil(
            [&]
            {
                const auto now = line->getCurrentText();
                return now.startsWith("x ") && now.contains("f(x)") && now != shown;
            },
            3s))
            << line->getCurrentText();
        shown = line->getCurrentText();

        const auto x = numberAfter(shown, "x"), f = numberAfter(shown, "f(x)");
        ASSERT_TRUE(x && f) << shown;
        EXPECT_NEAR(*x, 2.0 * across - 1.0, 2.0 / data.getWidth()) << "the pointer's x: " << shown;
        // The table's grid point that the shown x stands for (grid points lie 1.2e-4 apart), and
        // its value, to the four decimals shown.
        const auto i = juce::roundToInt((*x + 1.0) / 2.0 * (TransferFunctionTable::size - 1));
        EXPECT_NEAR(TransferFunctionTable::xAt(i), *x, 0.5e-4) << shown;
        EXPECT_NEAR(table.get(i), *f, 0.5e-4 + 1.0e-12) << shown;
        EXPECT_EQ(*f > 0.0, *x > 0.0) << "a tanh curve: " << shown;
        EXPECT_TRUE(shown.contains("dBFS")) << shown;
    }

    // The longest read-out, of the time view's longest window, fits the line without scrolling.
    const auto available = static_cast<float>(line->getWidth() - 2 * line->getStyle().horizontalPadding);
    EXPECT_LE(line->getStyle().font.getStringWidthFloat(
                  "t 170.646 ms   X -0.8888 (-10.0 dBFS)   Y -0.8888 (-10.0 dBFS)"),
              available);
    EXPECT_FALSE(line->isScrolling()) << shown;

    window.move(window.centreOf(*freeze));
    EXPECT_TRUE(runMessageLoopUntil([&] { return line->getCurrentText() == before; }, 3s))
        << line->getCurrentText();
}
