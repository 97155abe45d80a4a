#include "estimation/BinGapFilling.h"
#include "TestSignals.h"
#include "estimation/EstimationTypes.h"
#include "literal/LiteralEstimator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace estimation;

namespace
{
const double NaN = std::numeric_limits<double>::quiet_NaN();
}

TEST(BinGapFilling, NoKnownEntryGivesZeros)
{
    EXPECT_EQ(fillBinGaps(std::vector<double>(BinCount, NaN)), std::vector<double>(BinCount, 0.0));
}

TEST(BinGapFilling, SingleKnownEntryBecomesConstant)
{
    std::vector<double> v(BinCount, NaN);
    v[5000] = -0.75;
    EXPECT_EQ(fillBinGaps(v), std::vector<double>(BinCount, -0.75));
}

TEST(BinGapFilling, GapsBetweenKnownEntriesAreBridgedByStraightLines)
{
    std::vector<double> v(BinCount, NaN);
    v[100] = 1.0;
    v[104] = 3.0;
    v[105] = -1.0;
    v[115] = 4.0;
    const std::vector<double> out = fillBinGaps(v);
    EXPECT_DOUBLE_EQ(out[101], 1.5);
    EXPECT_DOUBLE_EQ(out[103], 2.5);
    EXPECT_DOUBLE_EQ(out[110], 1.5);
    EXPECT_EQ(out[105], -1.0);
}

TEST(BinGapFilling, EndsContinueTheOutermostStepUsingBridgedNeighbours)
{
    std::vector<double> v(BinCount, NaN);
    v[10] = 1.0;
    v[12] = 3.0; // entry 11 is bridged to 2, so the head step is 1 per entry
    v[BinCount - 3] = 0.0;
    v[BinCount - 2] = -0.5;
    const std::vector<double> out = fillBinGaps(v);
    EXPECT_DOUBLE_EQ(out[0], -9.0);
    EXPECT_DOUBLE_EQ(out[9], 0.0);
    EXPECT_DOUBLE_EQ(out[BinCount - 1], -1.0);
}

TEST(BinGapFilling, RandomHolesMatchTheLiteralFiller)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (double keep : {0.001, 0.05, 0.5, 0.99})
    {
        std::vector<double> v(BinCount, NaN);
        for (double& x : v)
            if (unit(rng) < keep)
                x = unit(rng) * 2.0 - 1.0;
        EXPECT_LT(estimation_test::maxAbsDifference(fillBinGaps(v), estimation_literal::fillBinGaps(v)),
                  1e-12)
            << keep;
    }
}
