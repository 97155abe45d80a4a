#include "editor/FitReportReadout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using ui_panels::FitReportReadout;

namespace
{
std::vector<juce::Point<double>> curveOf(const std::function<double(double)>& f)
{
    std::vector<juce::Point<double>> points;
    for (int i = 0; i < 16384; ++i)
    {
        const auto x = -1.0 + 2.0 * i / 16383.0;
        points.push_back({x, f(x)});
    }
    return points;
}

estimation::FitReport tanhReport()
{
    estimation::FitReport r;
    r.valid = true;
    r.coverage = 0.9987;
    r.xMin = -1.0;
    r.xMax = 0.99996;
    r.residual = 0.0012;
    r.directionGap = 0.00123;
    r.latency.samples = 37.2481;
    return r;
}
} // namespace

TEST(FitReportReadout, GoesIntoTheFirstCornerTheCurveKeepsClearOf)
{
    const juce::Rectangle<float> plot(10.0f, 20.0f, 600.0f, 400.0f);
    const juce::Rectangle<int> size(0, 0, 220, 100);
    const auto at = [&](const std::function<double(double)>& f)
    { return FitReportReadout::placeBeside(curveOf(f), plot, size); };

    const auto bottomRight = at([](double x) { return std::tanh(2.0 * x); });
    EXPECT_EQ(bottomRight, juce::Rectangle<int>(382, 312, 220, 100));
    // An inverting device fills the bottom right and the top left.
    EXPECT_EQ(at([](double x) { return -std::tanh(2.0 * x); }), juce::Rectangle<int>(18, 312, 220, 100));
    // A device that stays low crosses both bottom corners and leaves the top left.
    EXPECT_EQ(at([](double x) { return -0.8 + 0.3 * x; }), juce::Rectangle<int>(18, 28, 220, 100));
    // A curve through every corner (a fast ripple): bottom right, over it.
    EXPECT_EQ(at([](double x) { return 0.8 * std::sin(40.0 * x); }), bottomRight);
}

TEST(FitReportReadout, ShowsTheReportWithTheProbesDigitsAndSaysWhetherTheDelayIsSet)
{
    auto report = tanhReport();
    const auto rows = FitReportReadout::rowsFor(report, 0.0);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].value, "-58.4 dB");
    EXPECT_EQ(rows[1].value, "99.9 %");
    EXPECT_EQ(rows[2].value, "-1.00 to +1.00");
    EXPECT_EQ(rows[3].value, "0.12 %");
    EXPECT_EQ(rows[4].value, "none found");
    EXPECT_EQ(rows[5].value, "Y lags X by 37.25 samples, not set");
    EXPECT_TRUE(rows[5].warning);
    EXPECT_EQ(FitReportReadout::rowsFor(report, 37.25)[5].value, "Y lags X by 37.25 samples, set");

    // No delay: the reason, not a number.
    report.latency.samples.reset();
    report.latency.message = "the test signal repeats: delays of 0 and 480 samples fit about equally well";
    report.memoryWarning = true;
    const auto none = FitReportReadout::rowsFor(report, 0.0);
    EXPECT_EQ(none[5].value, "none: the test signal repeats");
    EXPECT_EQ(none[4].value, "likely");
    EXPECT_TRUE(none[4].warning);

    FitReportReadout readout;
    readout.setReport(&report, 0.0);
    EXPECT_TRUE(readout.isVisible());
    EXPECT_TRUE(readout.getText().contains("Latency: none: the test signal repeats"));
    readout.setReport(nullptr, 0.0);
    EXPECT_FALSE(readout.isVisible());
}
