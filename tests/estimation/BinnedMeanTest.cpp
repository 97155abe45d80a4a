#include "estimation/BinnedMean.h"
#include "TestSignals.h"
#include "literal/LiteralEstimator.h"

#include <gtest/gtest.h>

#include <random>

using namespace estimation;

TEST(BinnedMean, OnlyPlusOneReachesTheLastBin)
{
    // Bin 16382 collects [x_16382, 1); the second sample lands there, x = +1 alone in the last bin.
    const TransferFunctionEstimate e = fitBinnedMean({1.0, 0.99999999, -1.0}, {0.5, 0.25, -1.0}, 1);
    ASSERT_TRUE(e.valid);
    EXPECT_DOUBLE_EQ(e.rawBins[BinCount - 1], 0.5);
    EXPECT_DOUBLE_EQ(e.rawBins[BinCount - 2], 0.25);
    EXPECT_DOUBLE_EQ(e.rawBins[0], -1.0);
}

TEST(BinnedMean, SamplesInOneBinAreAveragedAndOutOfRangeXIsClamped)
{
    const TransferFunctionEstimate e =
        fitBinnedMean({0.0, 0.0, 0.0, 7.0, -3.0}, {0.1, 0.2, 0.6, 0.9, -0.9}, 1);
    const int middle = static_cast<int>((0.0 + 1.0) * 0.5 * (BinCount - 1));
    EXPECT_NEAR(e.rawBins[static_cast<size_t>(middle)], 0.3, 1e-15);
    EXPECT_DOUBLE_EQ(e.rawBins[BinCount - 1], 0.9);
    EXPECT_DOUBLE_EQ(e.rawBins[0], -0.9);
}

TEST(BinnedMean, NoSampleGivesAValidAllZeroResult)
{
    const TransferFunctionEstimate e = fitBinnedMean({}, {}, 50);
    EXPECT_TRUE(e.valid);
    EXPECT_EQ(e.rawBins, std::vector<double>(BinCount, 0.0));
    EXPECT_EQ(e.smoothedBins, std::vector<double>(BinCount, 0.0));
}

TEST(BinnedMean, RandomSamplesMatchTheLiteralBinnedMean)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<double> x(3000), y(3000);
    for (size_t k = 0; k < x.size(); ++k)
    {
        x[k] = unit(rng);
        y[k] = x[k] * x[k] * x[k] + 0.1 * unit(rng);
    }
    const TransferFunctionEstimate e = fitBinnedMean(x, y, 20);
    const TransferFunctionEstimate l = estimation_literal::fitBinnedMean(x, y, 20);
    EXPECT_LT(estimation_test::maxAbsDifference(e.rawBins, l.rawBins), 1e-12);
    EXPECT_LT(estimation_test::maxAbsDifference(e.smoothedBins, l.smoothedBins), 1e-12);
}
