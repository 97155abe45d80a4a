#include "editor/LiveViewFeed.h"
#include "core/AllocationCounter.h"
#include "core/CaptureBuffer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace
{
constexpr int n = CaptureBuffer::defaultCapacity;

// Fills the whole ring: pair k (k = 0 oldest) is (fx(k), fy(k)).
void fill(CaptureBuffer& capture, const std::function<double(int)>& fx, const std::function<double(int)>& fy)
{
    std::vector<double> x(n), y(n);
    for (int k = 0; k < n; ++k)
    {
        x[(size_t) k] = fx(k);
        y[(size_t) k] = fy(k);
    }
    capture.push(x.data(), y.data(), n);
}

double ramp(int k)
{
    return (k % 1000) / 1000.0;
}

ui_panels::LiveViewSettings settings(double latencyX = 0.0, double latencyY = 0.0)
{
    ui_panels::LiveViewSettings s;
    s.latencyX = latencyX;
    s.latencyY = latencyY;
    return s;
}
} // namespace

TEST(LiveViewFeed, CloudShowsTheNewestPairsEachReadBackByItsOwnLatency)
{
    CaptureBuffer capture;
    fill(capture, ramp, [](int k) { return -ramp(k); });
    ui_panels::LiveViewFeed feed;

    ASSERT_TRUE(feed.update(capture, settings()));
    ASSERT_EQ(feed.getPoints().size(), 2048u);
    for (int k = 0; k < 2048; k += 97)
    {
        EXPECT_DOUBLE_EQ(feed.getPoints()[(size_t) k].x, ramp(n - 2048 + k)) << k;
        EXPECT_DOUBLE_EQ(feed.getPoints()[(size_t) k].y, -ramp(n - 2048 + k)) << k;
    }

    // Latency X 10.5: D = 11, X at n - 2048 + k - 10.5 (the mean of two neighbours), Y at n - 2048 + k.
    ASSERT_TRUE(feed.update(capture, settings(10.5, 0.0)));
    for (int k = 100; k < 2048; k += 97) // away from the ramp's wrap
    {
        const auto position = n - 2048 + k;
        EXPECT_NEAR(feed.getPoints()[(size_t) k].x, (ramp(position - 11) + ramp(position - 10)) / 2.0, 1e-12)
            << k;
        EXPECT_DOUBLE_EQ(feed.getPoints()[(size_t) k].y, -ramp(position)) << k;
    }
}

TEST(LiveViewFeed, GainsScaleAndTheBorderClamps)
{
    CaptureBuffer capture;
    fill(
        capture, [](int) { return 0.75; }, [](int) { return 0.25; });
    ui_panels::LiveViewFeed feed;

    auto s = settings();
    s.gainX = 0.0; // scale -100 dB or below
    s.gainY = std::pow(10.0, 6.0 / 20.0);
    feed.update(capture, s);
    EXPECT_EQ(feed.getPoints()[7].x, 0.0);
    EXPECT_NEAR(feed.getPoints()[7].y, 0.25 * 1.9953, 1e-4);

    s.gainX = 2.0;
    feed.update(capture, s);
    EXPECT_EQ(feed.getPoints()[7].x, 1.0) << "beyond +1 after scaling sits on the border";
}

TEST(LiveViewFeed, TimeViewStartsAtTheLatestRisingZeroCrossingThatLeavesAWholeWindow)
{
    CaptureBuffer capture;
    const auto sine = [](int k) { return std::sin(2.0 * juce::MathConstants<double>::pi * k / 480.0 + 1.0); };
    fill(capture, sine, [&](int k) { return 0.5 * sine(k); });
    ui_panels::LiveViewFeed feed;
    auto s = settings();
    s.timeView = true;
    s.windowLength = 2048;

    ASSERT_TRUE(feed.update(capture, s));
    ASSERT_TRUE(feed.showsTraces());
    ASSERT_EQ(feed.getTraceX().size(), 2048u);
    // The window starts on a rising crossing: the sample before it is at or below zero.
    const auto start = [&]
    {
        for (int k = n - 2048; k >= 1; --k)
            if (sine(k - 1) <= 0.0 && sine(k) > 0.0)
                return k;
        return -1;
    }();
    ASSERT_GT(start, n - 2048 - 480);
    EXPECT_FLOAT_EQ(feed.getTraceX()[0], (float) sine(start));
    EXPECT_FLOAT_EQ(feed.getTraceY()[100], (float) (0.5 * sine(start + 100)));

    // Without a crossing the window shows the newest samples.
    CaptureBuffer positive;
    fill(
        positive, [](int k) { return 0.1 + ramp(k) / 2.0; }, ramp);
    s.windowLength = 8192;
    feed.update(positive, s);
    ASSERT_EQ(feed.getTraceX().size(), 8192u);
    EXPECT_FLOAT_EQ(feed.getTraceX().back(), (float) (0.1 + ramp(n - 1) / 2.0));
    EXPECT_FLOAT_EQ(feed.getTraceY()[0], (float) ramp(n - 8192));
}

TEST(LiveViewFeed, AllocatesNothingAndSkipsWhenNeitherAudioNorSettingsChanged)
{
    CaptureBuffer capture;
    fill(capture, ramp, ramp);
    ui_panels::LiveViewFeed feed;
    auto time = settings();
    time.timeView = true;
    time.windowLength = 8192;
    feed.update(capture, time); // the traces reach their largest size once

    const double more[] = {0.5, 0.5};
    std::size_t allocations = 0;
    {
        ScopedAllocationCounter counter;
        for (int round = 0; round < 4; ++round)
        {
            capture.push(more, more, 2);
            feed.update(capture, round % 2 == 0 ? settings() : time);
        }
        allocations = counter.getCount();
    }
    EXPECT_EQ(allocations, 0u);

    EXPECT_FALSE(feed.update(capture, time)) << "nothing new: the view already shows it";
    EXPECT_TRUE(feed.update(capture, settings(3.0, 0.0))) << "a changed setting rebuilds";
    EXPECT_FALSE(feed.update(capture, settings(3.0, 0.0)));
    capture.clear();
    EXPECT_TRUE(feed.update(capture, settings(3.0, 0.0))) << "a cleared capture is news too";
    feed.invalidate();
    EXPECT_TRUE(feed.update(capture, settings(3.0, 0.0))) << "the view showed something else meanwhile";
}
