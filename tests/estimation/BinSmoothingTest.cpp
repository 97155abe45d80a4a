#include "estimation/BinSmoothing.h"
#include "TestSignals.h"
#include "estimation/ExecutionSettings.h"
#include "literal/LiteralEstimator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>

using namespace estimation;
using estimation_test::maxAbsDifference;

namespace
{

std::vector<double> noisyCurve(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> noise(-0.05, 0.05);
    std::vector<double> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        v[static_cast<size_t>(i)] = std::tanh(3.0 * (2.0 * i / (n - 1) - 1.0)) + noise(rng);
    return v;
}

double largestMagnitude(const std::vector<double>& v)
{
    double peak = 0.0;
    for (double x : v)
        peak = std::max(peak, std::abs(x));
    return peak;
}

class SmoothingSettingTest : public ::testing::TestWithParam<int>
{
};

} // namespace

TEST_P(SmoothingSettingTest, MatchesLiteralSmoothingAndPeaksAtOne)
{
    const std::vector<double> raw = noisyCurve(BinCount, 3);
    const std::vector<double> out = smoothBins(raw, GetParam());
    ASSERT_EQ(out.size(), raw.size());
    EXPECT_LT(maxAbsDifference(out, estimation_literal::smoothBins(raw, GetParam())), 1e-12);
    EXPECT_DOUBLE_EQ(largestMagnitude(out), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Settings, SmoothingSettingTest,
                         ::testing::Values(-5, 0, 1, 2, 3, 4, 50, 51, 98, 99, 100, 250));

TEST(BinSmoothing, SettingsTwoAndThreeShareTheThreeEntryWindow)
{
    const std::vector<double> raw = noisyCurve(BinCount, 4);
    EXPECT_EQ(smoothBins(raw, 2), smoothBins(raw, 3));
    EXPECT_NE(smoothBins(raw, 3), smoothBins(raw, 5));
}

TEST(BinSmoothing, SettingHundredUsesTheNinetyNineEntryWindow)
{
    const std::vector<double> raw = noisyCurve(BinCount, 5);
    EXPECT_EQ(smoothBins(raw, 100), smoothBins(raw, 99));
    EXPECT_EQ(smoothBins(raw, 50), smoothBins(raw, 51));
    EXPECT_NE(smoothBins(raw, 97), smoothBins(raw, 99));
}

TEST(BinSmoothing, SettingOneOnlyShiftsAndNormalises)
{
    std::vector<double> raw = noisyCurve(BinCount, 6);
    std::vector<double> expected = shiftHalfBin(raw);
    const double peak = largestMagnitude(expected);
    for (double& v : expected)
        v /= peak;
    EXPECT_EQ(smoothBins(raw, 1), expected);
}

TEST(BinSmoothing, AllZeroInputStaysZero)
{
    const std::vector<double> out = smoothBins(std::vector<double>(BinCount, 0.0), 50);
    EXPECT_EQ(out, std::vector<double>(BinCount, 0.0));
}

TEST(BinSmoothing, ConstantInputBecomesItsSign)
{
    EXPECT_EQ(smoothBins(std::vector<double>(BinCount, -2.5), 50), std::vector<double>(BinCount, -1.0));
    EXPECT_EQ(smoothBins(std::vector<double>(BinCount, 0.25), 1), std::vector<double>(BinCount, 1.0));
    EXPECT_EQ(smoothBins(std::vector<double>(BinCount, -1.0), 51), std::vector<double>(BinCount, -1.0));
    EXPECT_EQ(smoothBins(std::vector<double>(BinCount, 0.1), 100), std::vector<double>(BinCount, 1.0));
}

TEST(BinSmoothing, EmptyInputGivesEmptyOutput)
{
    EXPECT_TRUE(smoothBins({}, 50).empty());
}

TEST(BinSmoothing, ShortInputShrinksTheWindowToFit)
{
    for (int n : {1, 2, 3, 4, 10, 51, 60})
    {
        const std::vector<double> raw = noisyCurve(std::max(n, 2), 7 + static_cast<unsigned>(n));
        const std::vector<double> v(raw.begin(), raw.begin() + n);
        const std::vector<double> out = savitzkyGolaySmooth(v, 51);
        ASSERT_EQ(out.size(), v.size());
        EXPECT_LT(maxAbsDifference(out, estimation_literal::savitzkyGolaySmooth(v, 51)), 1e-12) << n;
    }
}

TEST(BinSmoothing, RampPassesTheFilterUnchangedAwayFromTheEnds)
{
    std::vector<double> ramp(BinCount);
    std::iota(ramp.begin(), ramp.end(), -8000.0);
    const std::vector<double> out = savitzkyGolaySmooth(ramp, 51);
    for (int j = 25; j < BinCount - 25; ++j)
        ASSERT_NEAR(out[static_cast<size_t>(j)], ramp[static_cast<size_t>(j)], 1e-8) << j;
    // The mirror reflection bends the ends flatter, toward their neighbours.
    EXPECT_GT(out.front(), ramp.front() + 1.0);
    EXPECT_LT(out.back(), ramp.back() - 1.0);
}

TEST(BinSmoothing, HalfBinShiftMovesARampByHalfAStepExceptAtTheEnds)
{
    std::vector<double> ramp(100);
    std::iota(ramp.begin(), ramp.end(), 0.0);
    const std::vector<double> out = shiftHalfBin(ramp);
    for (int i : {0, 1, 98, 99})
        EXPECT_EQ(out[static_cast<size_t>(i)], ramp[static_cast<size_t>(i)]);
    for (int i = 2; i <= 97; ++i)
        EXPECT_DOUBLE_EQ(out[static_cast<size_t>(i)], i - 0.5);
}

TEST(BinSmoothing, CoefficientsAreSymmetricAndPreserveConstants)
{
    for (int window : {3, 5, 51, 99})
    {
        const std::vector<double> c = savitzkyGolayCoefficients(window, window > 3 ? 3 : 2);
        ASSERT_EQ(c.size(), static_cast<size_t>(window));
        EXPECT_NEAR(std::accumulate(c.begin(), c.end(), 0.0), 1.0, 1e-12);
        for (int r = 0; r < window; ++r)
            EXPECT_NEAR(c[static_cast<size_t>(r)], c[static_cast<size_t>(window - 1 - r)], 1e-12);
    }
}

TEST(BinSmoothing, VectorPathGivesThePortableResult)
{
    const std::vector<double> raw = noisyCurve(BinCount, 8);
    const ExecutionSettings saved = getExecutionSettings();
    setExecutionSettings({1, false});
    const std::vector<double> portable = smoothBins(raw, 99);
    setExecutionSettings({1, true});
    const std::vector<double> vector = smoothBins(raw, 99);
    setExecutionSettings(saved);
    EXPECT_LE(maxAbsDifference(portable, vector), 1e-12);
}
