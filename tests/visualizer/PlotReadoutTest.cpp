#include "visualizer/PlotReadout.h"

#include <gtest/gtest.h>

namespace
{
using ui_core::PlotReadout;

// A data area 200 x 100 at (10, 20): x = -1 at 10, +1 at 210; y = +1 at 20, -1 at 120.
const PlotReadout readout({10.0f, 20.0f, 200.0f, 100.0f});

TEST(PlotReadout, ValuesCarryTheirLevelAndZeroHasNone)
{
    EXPECT_EQ(PlotReadout::value(-0.5), "-0.5000 (-6.0 dBFS)");
    EXPECT_EQ(PlotReadout::value(0.99996), "1.0000 (0.0 dBFS)");
    EXPECT_EQ(PlotReadout::value(-0.00004), "0.0000 (-inf dBFS)");
    EXPECT_EQ(PlotReadout::value(0.001), "0.0010 (-60.0 dBFS)");
}

TEST(PlotReadout, PairsGiveThePointersPositionHeldToTheDataArea)
{
    EXPECT_EQ(readout.pairs({160.0f, 95.0f}), "x 0.5000 (-6.0 dBFS)   y -0.5000 (-6.0 dBFS)");
    EXPECT_EQ(readout.pairs({0.0f, 500.0f}), "x -1.0000 (0.0 dBFS)   y -1.0000 (0.0 dBFS)");
    EXPECT_EQ(PlotReadout({5.0f, 5.0f, 0.0f, 0.0f}).pairs({5.0f, 5.0f}), "") << "no data area";
}

TEST(PlotReadout, CurveGivesTheNearestPointOfTheCurve)
{
    // Points at x = -1, -0.5, 0, 0.5, 1 (pixels 10, 60, 110, 160, 210).
    const std::vector<juce::Point<double>> curve{
        {-1.0, -0.9}, {-0.5, -0.4}, {0.0, 0.0}, {0.5, 0.3}, {1.0, 0.8}};
    EXPECT_EQ(readout.curve({134.0f, 50.0f}, curve), "x 0.0000 (-inf dBFS)   f(x) 0.0000 (-inf dBFS)");
    EXPECT_EQ(readout.curve({136.0f, 50.0f}, curve), "x 0.5000 (-6.0 dBFS)   f(x) 0.3000 (-10.5 dBFS)");
    EXPECT_EQ(readout.curve({400.0f, 50.0f}, curve), "x 1.0000 (0.0 dBFS)   f(x) 0.8000 (-1.9 dBFS)");
    EXPECT_EQ(readout.curve({-40.0f, 50.0f}, curve), "x -1.0000 (0.0 dBFS)   f(x) -0.9000 (-0.9 dBFS)");
}

TEST(PlotReadout, TracesGiveTheTimeFromTheTriggerAndBothValues)
{
    // 9 samples across 200 pixels: sample i at 10 + 25 i.
    std::vector<float> x(9), y(9);
    for (int i = 0; i < 9; ++i)
        x[static_cast<std::size_t>(i)] = 0.1f * static_cast<float>(i), y[static_cast<std::size_t>(i)] = -0.5f;
    EXPECT_EQ(readout.traces({109.0f, 0.0f}, x, y, 48000.0),
              "t 0.083 ms   X 0.4000 (-8.0 dBFS)   Y -0.5000 (-6.0 dBFS)");
    EXPECT_EQ(readout.traces({109.0f, 0.0f}, x, y, 0.0),
              "t 4 samples   X 0.4000 (-8.0 dBFS)   Y -0.5000 (-6.0 dBFS)");
    EXPECT_EQ(readout.traces({84.0f, 0.0f}, x, std::vector<float>(8), 48000.0), "") << "unequal traces";
}
} // namespace
