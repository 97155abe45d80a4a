#include "controls/TooltipDisplayPanel.h"
#include "controls/TextButton.h"

#include "ManualPollClock.h"
#include "Rendering.h"
#include "support/DesktopHarness.h"

#include <gtest/gtest.h>

#include <cmath>

using testsupport::DesktopWindow;

class TooltipStripOnDesktop : public ::testing::Test
{
protected:
    TooltipStripOnDesktop()
    {
        shortTip.setTooltip("Capture snapshot of the distortion.");
        longTip.setTooltip(
            "Number of samples used to fit the curve. More samples takes longer to capture but "
            "considers more context.");
        window.add(shortTip, {20, 20, 80, 30});
        window.add(longTip, {120, 20, 80, 30});
        window.add(strip, {0, 250, 400, 24});
        strip.setWatchedRoot(&window.root());
    }

    testsupport::ManualPollClock* clock = new testsupport::ManualPollClock();
    DesktopWindow window;
    ui_core::TextButton shortTip, longTip;
    ui_core::TooltipDisplayPanel strip{std::unique_ptr<ui_core::PollClock>(clock)};
};

TEST_F(TooltipStripOnDesktop, FollowsTheHoveredControlOnTheNextTick)
{
    EXPECT_EQ(clock->getIntervalMilliseconds(), 100);
    window.move(window.centreOf(shortTip));
    clock->advance(99);
    EXPECT_TRUE(strip.getCurrentText().isEmpty());
    clock->advance(1);
    EXPECT_EQ(strip.getCurrentText(), "Capture snapshot of the distortion.");
    EXPECT_FALSE(strip.isScrolling());

    window.move(window.centreOf(longTip));
    clock->advance(100);
    EXPECT_EQ(strip.getCurrentText(), longTip.getTooltip());
    EXPECT_EQ(strip.getScrollOffset(), 0.0f);

    window.move(window.pointIn(strip, {5.0f, 5.0f}));
    clock->advance(100);
    EXPECT_TRUE(strip.getCurrentText().isEmpty())
        << "the strip itself has no tooltip and lets clicks through";

    strip.setWatchedRoot(nullptr);
    window.move(window.centreOf(shortTip));
    clock->advance(100);
    EXPECT_TRUE(strip.getCurrentText().isEmpty()) << "nothing to watch, nothing shown";
}

TEST_F(TooltipStripOnDesktop, TextOnePixelTooWideRestsScrollsRestsAndJumpsBack)
{
    window.move(window.centreOf(shortTip));
    clock->tick();
    const auto padding = strip.getStyle().horizontalPadding;
    strip.setSize(static_cast<int>(std::ceil(strip.getTextWidth())) - 1 + 2 * padding, 24);
    const auto overflow = strip.getTextWidth() - static_cast<float>(strip.getWidth() - 2 * padding);
    ASSERT_GT(overflow, 0.0f);
    ASSERT_LE(overflow, 1.0f);

    clock->tick(); // the marquee starts with its first pause tick
    EXPECT_TRUE(strip.isScrolling());
    EXPECT_EQ(clock->getIntervalMilliseconds(), 33);
    for (int i = 1; i < 60; ++i)
        clock->tick();
    EXPECT_EQ(strip.getScrollOffset(), 0.0f) << "resting 60 ticks, about 2 s, at the start";
    clock->tick();
    EXPECT_EQ(strip.getScrollOffset(), overflow) << "one step brings the end into view";
    for (int i = 1; i < 60; ++i)
        clock->tick();
    EXPECT_EQ(strip.getScrollOffset(), overflow) << "resting at the end";
    clock->tick();
    EXPECT_EQ(strip.getScrollOffset(), 0.0f) << "and back to the start";

    strip.setSize(strip.getWidth() + 20, 24);
    clock->tick();
    EXPECT_FALSE(strip.isScrolling()) << "the text fits now";
    EXPECT_EQ(clock->getIntervalMilliseconds(), 100);
}

TEST_F(TooltipStripOnDesktop, LongTextsScrollOnePixelPerTickAndFittingTextsAreCentred)
{
    window.move(window.centreOf(longTip));
    clock->tick();
    for (int i = 0; i < 60 + 25; ++i)
        clock->tick();
    EXPECT_EQ(strip.getScrollOffset(), 25.0f);

    ui_core::TooltipStripStyle style;
    style.textColour = juce::Colours::white;
    style.backgroundColour = juce::Colours::black;
    strip.setStyle(style);
    window.move(window.centreOf(shortTip));
    clock->tick();
    const auto image = testsupport::snapshot(strip);
    auto left = image.getWidth(), right = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt(x, y).getBrightness() > 0.5f)
                left = std::min(left, x), right = std::max(right, x);
    EXPECT_NEAR((left + right) / 2.0, strip.getWidth() / 2.0, 2.0);
}

TEST(TooltipDisplayPanel, ThemedStripDrawsOnlyItsTextAndTheDefaultOneFillsTheStrip)
{
    ui_core::TooltipDisplayPanel strip;
    strip.setSize(200, 24);
    auto image = testsupport::snapshot(strip);
    EXPECT_EQ(image.getPixelAt(3, 3), juce::Colour(0xff1a1a1a));

    strip.setStyle(ui_core::tooltipStripPreset());
    image = testsupport::snapshot(strip);
    EXPECT_EQ(image.getPixelAt(3, 3).getAlpha(), 0);
}
