#include "HeadlessPeer.h"
#include "VisualizerSignals.h"
#include "VisualizerTestSupport.h"

#include "../controls/ThemeTestSupport.h"

#include <memory>

namespace
{
using ui_core::GlowSpillOverlay;
using ui_core::WaveformVisualizer;

bool anyVisiblePixel(const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt(x, y).getAlpha() != 0)
                return true;
    return false;
}

class GlowSpill : public ThemeTest
{
protected:
    void SetUp() override
    {
        ThemeTest::SetUp();
        parent.setSize(400, 300);
        parent.addAndMakeVisible(*visualizer);
        parent.addAndMakeVisible(spill);
        visualizer->setBounds(50, 40, 300, 200);
        visualizer->setStyle(ui_core::themedVisualizerStyle());
        visualizer->setPoints(visualizertest::liveCloud());
        spill.setVisualizer(visualizer.get());
    }

    juce::Component parent;
    std::unique_ptr<WaveformVisualizer> visualizer = std::make_unique<WaveformVisualizer>();
    GlowSpillOverlay spill;
};

TEST_F(GlowSpill, SurroundsThePlotByTheSpillMarginsAndFollowsTheVisualizer)
{
    // Plot (58, 40, 284, 200) in the parent, 24 pixels around it.
    EXPECT_EQ(spill.getBounds(), juce::Rectangle<int>(34, 16, 332, 248));
    EXPECT_TRUE(anyVisiblePixel(visualizertest::render(spill)));

    visualizer->setTopLeftPosition(10, 5);
    EXPECT_EQ(spill.getBounds(), juce::Rectangle<int>(0, 0, 326, 229)) << "clamped to the parent";
}

TEST_F(GlowSpill, ShowsNothingInsideThePlot)
{
    const auto image = visualizertest::render(spill);
    const auto plot = spill.getLocalArea(visualizer.get(), visualizer->getPlotBounds()).toNearestInt();
    bool insideClear = true, outsideLit = false;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const auto alpha = image.getPixelAt(x, y).getAlpha();
            if (plot.reduced(6).contains(x, y))
                insideClear = insideClear && alpha == 0;
            else
                outsideLit = outsideLit || alpha > 0;
        }
    EXPECT_TRUE(insideClear);
    EXPECT_TRUE(outsideLit);
}

TEST_F(GlowSpill, APlotCoveringTheWholeOverlayDrawsNothing)
{
    auto style = visualizer->getStyle();
    style.marginLeft = style.marginRight = 0.0f;
    style.cornerRadius = 0.0f;
    style.spillMarginSides = style.spillMarginTop = style.spillMarginBottom = 0.0f;
    visualizer->setStyle(style);
    ASSERT_EQ(spill.getBounds(), visualizer->getBounds());

    EXPECT_FALSE(anyVisiblePixel(visualizertest::render(spill)));
    EXPECT_EQ(spill.getRenderCount(), 0) << "returns before rendering anything";
}

TEST_F(GlowSpill, RefreshesAtMostEvery33Milliseconds)
{
    visualizertest::ManualClock clock;
    spill.setClock(clock.function());
    visualizertest::render(spill);
    const auto first = spill.getRenderCount();

    // Frames at 60 Hz for half a second re-render the spill at most 16 times.
    for (int frame = 0; frame < 30; ++frame)
    {
        clock.now += 1000.0 / 60.0;
        visualizer->onFramePainted();
        visualizertest::render(spill);
    }
    EXPECT_GE(spill.getRenderCount() - first, 14);
    EXPECT_LE(spill.getRenderCount() - first, 16);
}

TEST_F(GlowSpill, RefreshRepaintsOnlyTheStripsAroundThePlot)
{
    struct Window : juce::Component
    {
        juce::ComponentPeer* createNewPeer(int styleFlags, void*) override
        {
            return new visualizertest::HeadlessPeer(*this, styleFlags);
        }
    } window;
    window.setBounds(0, 0, 400, 300);
    window.addChildComponent(parent);
    parent.setVisible(true);
    window.addToDesktop(0);
    window.setVisible(true);
    auto* peer = dynamic_cast<visualizertest::HeadlessPeer*>(window.getPeer());
    ASSERT_NE(peer, nullptr);
    peer->performAnyPendingRepaintsNow();

    visualizer->onFramePainted();
    // The spill (34, 16, 332, 248) around the plot (58, 40, 284, 200): all of it but the plot.
    juce::RectangleList<int> expected(juce::Rectangle<int>(34, 16, 332, 248));
    expected.subtract(juce::Rectangle<int>(58, 40, 284, 200));
    EXPECT_EQ(peer->getPendingRepaints().getBounds(), expected.getBounds());
    for (const auto& r : peer->getPendingRepaints())
        EXPECT_FALSE(r.intersects(juce::Rectangle<int>(58, 40, 284, 200))) << r.toString();
    juce::RectangleList<int> covered(peer->getPendingRepaints());
    covered.subtract(expected);
    EXPECT_TRUE(covered.isEmpty());
    window.removeFromDesktop();
}

TEST_F(GlowSpill, DeletingTheFollowedVisualizerLeavesTheOverlayInert)
{
    visualizertest::render(spill);
    visualizer.reset();

    EXPECT_EQ(spill.getVisualizer(), nullptr);
    EXPECT_FALSE(anyVisiblePixel(visualizertest::render(spill)));
    spill.setVisualizer(nullptr);
    spill.setBounds(0, 0, 100, 100); // nothing left to reach
}

TEST_F(GlowSpill, LettingGoEmptiesTheVisualizersCallbacks)
{
    {
        spill.setVisualizer(nullptr);
        EXPECT_TRUE(visualizer->onFramePainted == nullptr);
        GlowSpillOverlay second;
        parent.addAndMakeVisible(second);
        second.setVisualizer(visualizer.get());
        EXPECT_TRUE(visualizer->onFramePainted != nullptr);
    } // the second overlay dies while it follows the visualizer

    EXPECT_TRUE(visualizer->onFramePainted == nullptr);
    EXPECT_TRUE(visualizer->onContentChanged == nullptr);
    visualizer->setPoints(visualizertest::liveCloud(64)); // no callback into a dead overlay
}

TEST_F(GlowSpill, FadesOutTowardsItsEdges)
{
    // A trace along the top of the plot, so that the spill reaches the overlay's top edge.
    std::vector<juce::Point<double>> edge;
    for (int i = 0; i <= 64; ++i)
        edge.push_back({-1.0 + i / 32.0, 1.0});
    visualizer->setPoints(edge);
    visualizertest::ManualClock clock;
    spill.setClock(clock.function());

    auto imageWithFade = [&](float fade)
    {
        auto style = visualizer->getStyle();
        style.spillMarginTop = 8.0f;
        style.spillEdgeFade = fade;
        visualizer->setStyle(style);
        clock.now += 100.0;
        visualizer->onFramePainted(); // the next frame refreshes the spill
        visualizertest::render(spill);
        return spill.getImage().createCopy();
    };
    const auto two = imageWithFade(8.0f);   // the outer two rows and columns of the quarter image
    const auto four = imageWithFade(16.0f); // four

    // Row 2 is faded only in the second, by 1 + trunc(255 smoothstep(2.5 / 4)), shifted by 8.
    const auto u = 2.5f / 4.0f;
    const auto factor = 1 + static_cast<int>(255.0f * (3.0f - 2.0f * u) * u * u);
    const auto x = two.getWidth() / 2;
    const auto unfaded = two.getPixelAt(x, 2).getPixelARGB();
    ASSERT_GT(unfaded.getAlpha(), 8) << "the spill reaches the edge";
    EXPECT_EQ(four.getPixelAt(x, 2).getPixelARGB().getAlpha(), (unfaded.getAlpha() * factor) >> 8);
    EXPECT_LT(two.getPixelAt(x, 0).getAlpha(), two.getPixelAt(x, 1).getAlpha());
    EXPECT_EQ(four.getPixelAt(x, 4), two.getPixelAt(x, 4)) << "further in, nothing fades";
}

TEST_F(GlowSpill, NoSpillWithoutGlowOrIntensity)
{
    auto style = visualizer->getStyle();
    style.glowIntensity = 0.0f;
    visualizer->setStyle(style);
    EXPECT_FALSE(anyVisiblePixel(visualizertest::render(spill)));

    style.glowIntensity = 0.7f;
    style.glowEnabled = false;
    visualizer->setStyle(style);
    EXPECT_FALSE(anyVisiblePixel(visualizertest::render(spill)));
}
} // namespace
