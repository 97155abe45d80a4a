#include "HeadlessPeer.h"
#include "VisualizerSignals.h"
#include "VisualizerTestSupport.h"
#include "support/MessageLoop.h"

#include "../controls/ThemeTestSupport.h"

namespace
{
// The visualizer in a window without a display, counting its paints, with the frame clock, the
// vertical blanks and the window's repaints in the test's hands.
class CountingVisualizer : public ui_core::WaveformVisualizer
{
public:
    void paint(juce::Graphics& g) override
    {
        ++paints;
        WaveformVisualizer::paint(g);
    }

    juce::ComponentPeer* createNewPeer(int styleFlags, void*) override
    {
        return new visualizertest::HeadlessPeer(*this, styleFlags);
    }

    int paints = 0;
};

class VisualizerScheduling : public ThemeTest
{
protected:
    void SetUp() override
    {
        ThemeTest::SetUp();
        visualizer.setStyle(ui_core::themedVisualizerStyle()); // glow on
        ASSERT_TRUE(visualizer.getStyle().glowEnabled);
        visualizer.getRepaintThrottle().setClock(clock.function());
        visualizer.onFramePainted = [this] { ++frames; };
        visualizer.setBounds(100, 100, 300, 200);
        visualizer.addToDesktop(0);
        visualizer.setVisible(true);
        peer = dynamic_cast<visualizertest::HeadlessPeer*>(visualizer.getPeer());
        ASSERT_NE(peer, nullptr);

        runFrames(40); // the first paint and the settling after setStyle
        visualizer.paints = 0;
        frames = 0;
    }

    void TearDown() override
    {
        visualizer.removeFromDesktop();
        ThemeTest::TearDown();
    }

    // One vertical blank of a 60 Hz display, through the window's vertical-blank listeners, after
    // which the window carries out the repaints asked for.
    void runFrames(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            clock.now += 1000.0 / 60.0;
            blank();
        }
    }

    void blank()
    {
        peer->verticalBlank();
        peer->performAnyPendingRepaintsNow();
    }

    visualizertest::ManualClock clock;
    CountingVisualizer visualizer;
    visualizertest::HeadlessPeer* peer = nullptr;
    int frames = 0;
};

TEST_F(VisualizerScheduling, RequestsFiveMillisecondsApartGiveOneRepaint)
{
    visualizer.requestPaint();
    clock.now += 5.0;
    visualizer.requestPaint();
    blank(); // more than 16 ms since the last frame
    blank();
    clock.now += 5.0;
    blank();

    EXPECT_EQ(visualizer.paints, 1);
    EXPECT_EQ(frames, 1);
}

TEST_F(VisualizerScheduling, RequestWithinSixteenMillisecondsWaitsForALaterBlank)
{
    visualizer.requestPaint();
    runFrames(1);
    visualizer.requestPaint();
    clock.now += 10.0;
    blank();
    EXPECT_TRUE(visualizer.isPaintPending());
    EXPECT_EQ(visualizer.paints, 1);
    clock.now += 6.0;
    blank();
    EXPECT_FALSE(visualizer.isPaintPending());
    EXPECT_EQ(visualizer.paints, 2);
}

TEST_F(VisualizerScheduling, OneChangePaintsOnceThenSettlesIdleInEitherMode)
{
    for (const bool timeMode : {false, true})
    {
        visualizer.paints = 0;
        frames = 0;
        if (timeMode)
        {
            const auto [x, y] = visualizertest::timeTraces(2048);
            visualizer.setTraces(x, y);
        }
        else
        {
            visualizer.setPoints(visualizertest::liveCloud());
        }

        runFrames(90);
        // The plot is repainted once; the frames that follow only let the glow spill catch up.
        EXPECT_EQ(visualizer.paints, 1) << (timeMode ? "time" : "tfunc");
        EXPECT_GE(frames, 25);
        EXPECT_LE(frames, 31);
        EXPECT_FALSE(visualizer.isPaintPending()) << "the display falls idle";
        EXPECT_EQ(visualizer.getMainGlow().getSettleCount(), 0);
        EXPECT_EQ(visualizer.getSecondGlow().getSettleCount(), 0);
    }
}

TEST_F(VisualizerScheduling, SettingAnEqualStyleChangesNothing)
{
    visualizer.setPoints(visualizertest::liveCloud());
    runFrames(60);
    const auto backgroundRenders = visualizer.getBackgroundCache().getRenderCount();
    const auto glowRenders = visualizer.getMainGlow().getRenderCount();
    int contentChanges = 0;
    visualizer.onContentChanged = [&] { ++contentChanges; };
    visualizer.paints = 0;

    visualizer.setStyle(ui_core::themedVisualizerStyle());
    EXPECT_FALSE(visualizer.isPaintPending());
    runFrames(5);
    visualizer.repaint(); // a repaint from the host still finds every cache valid
    peer->performAnyPendingRepaintsNow();

    EXPECT_EQ(contentChanges, 0);
    EXPECT_EQ(visualizer.paints, 1);
    EXPECT_EQ(visualizer.getBackgroundCache().getRenderCount(), backgroundRenders);
    EXPECT_EQ(visualizer.getMainGlow().getRenderCount(), glowRenders);
}

TEST(VisualizerWindow, FramesArriveOnTheDisplaysVerticalBlank)
{
    // A real window on the (virtual) display: its vertical blank, or the fallback timer where that
    // is silent, serves the request, and the display then falls idle.
    struct Painted : ui_core::WaveformVisualizer
    {
        void paint(juce::Graphics& g) override
        {
            ++paints;
            WaveformVisualizer::paint(g);
        }
        int paints = 0;
    } visualizer;
    visualizer.setStyle(ui_core::themedVisualizerStyle());
    visualizer.setBounds(100, 100, 300, 200);
    visualizer.addToDesktop(0);
    visualizer.setVisible(true);
    int frames = 0;
    visualizer.onFramePainted = [&] { ++frames; };

    visualizer.setPoints(visualizertest::liveCloud());
    EXPECT_TRUE(
        testsupport::runMessageLoopUntil([&] { return visualizer.paints > 0; }, std::chrono::seconds(5)));
    EXPECT_TRUE(testsupport::runMessageLoopUntil([&] { return !visualizer.isPaintPending(); },
                                                 std::chrono::seconds(5)));
    EXPECT_GE(frames, 25);
    visualizer.removeFromDesktop();
}

TEST(VisualizerFallback, ServesFramesForAComponentWithoutAWindow)
{
    ui_core::WaveformVisualizer visualizer;
    visualizer.setSize(100, 100);
    int frames = 0;
    visualizer.onFramePainted = [&] { ++frames; };
    visualizer.setPoints(visualizertest::liveCloud(16));
    EXPECT_TRUE(testsupport::runMessageLoopUntil([&] { return frames > 0; }, std::chrono::seconds(5)));
}

TEST(VisualizerMouse, ForwardsEveryEventWithItsName)
{
    ui_core::WaveformVisualizer visualizer;
    visualizer.setBounds(50, 50, 200, 100);
    visualizer.addToDesktop(0);
    visualizer.setVisible(true);
    juce::StringArray names;
    visualizer.onMouseEvent = [&](const juce::MouseEvent&, const juce::String& name) { names.add(name); };

    auto* peer = visualizer.getPeer();
    ASSERT_NE(peer, nullptr);
    auto send = [&, time = juce::int64(1000)](juce::Point<float> at, juce::ModifierKeys buttons) mutable
    {
        time += 50;
        peer->handleMouseEvent(juce::MouseInputSource::InputSourceType::mouse, at, buttons,
                               juce::MouseInputSource::defaultPressure,
                               juce::MouseInputSource::defaultOrientation, time);
    };
    const auto left = juce::ModifierKeys::leftButtonModifier;
    send({20, 20}, {});
    send({20, 20}, left);
    send({40, 30}, left);
    send({40, 30}, {});
    send({20, 20}, {});
    send({20, 20}, left); // a second click at the first one's place
    send({20, 20}, {});
    send({-10, 30}, {});

    EXPECT_TRUE(names.contains("mouseMove"));
    EXPECT_TRUE(names.contains("mouseDown"));
    EXPECT_TRUE(names.contains("mouseDrag"));
    EXPECT_TRUE(names.contains("mouseUp"));
    EXPECT_TRUE(names.contains("mouseDoubleClick"));
    EXPECT_TRUE(names.contains("mouseExit"));
    visualizer.removeFromDesktop();
}
} // namespace
