#include "estimation/OrthogonalDistanceFit.h"
#include "TestSignals.h"
#include "estimation/BinnedMean.h"
#include "estimation/ExecutionSettings.h"
#include "estimation/TransferFunctionEstimator.h"
#include "literal/LiteralEstimator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace estimation;
using estimation_test::maxAbsDifference;

namespace
{

std::vector<estimation_literal::Pair> zip(const std::vector<double>& x, const std::vector<double>& y)
{
    std::vector<estimation_literal::Pair> pairs;
    for (size_t k = 0; k < x.size(); ++k)
        pairs.emplace_back(x[k], y[k]);
    return pairs;
}

estimation_test::Capture normalised(const estimation_test::Capture& c)
{
    return {normaliseToPeak(c.x), normaliseToPeak(c.y)};
}

} // namespace

TEST(OrthogonalDistanceFit, NoiselessLineIsReproducedAndStopsAfterTheFirstPass)
{
    std::vector<double> x, y;
    for (int k = 0; k <= 6000; ++k)
    {
        x.push_back(-1.0 + 2.0 * k / 6000.0);
        y.push_back(0.6 * x.back() - 0.25);
    }
    const RefinedFit fit = refineOrthogonal(x, y, 0.05, 1e-4);
    EXPECT_EQ(fit.passes, 1);
    for (int i = 0; i < BinCount; ++i)
        ASSERT_NEAR(fit.values[static_cast<size_t>(i)], 0.6 * gridX(i) - 0.25, 1e-11) << i;
    EXPECT_EQ(estimation_literal::refineOrthogonal(zip(x, y), 0.05, 1e-4).passes, 1);
}

TEST(OrthogonalDistanceFit, CurvedCaptureKeepsIteratingWhileAnyPointMoves)
{
    estimation_test::CaptureSpec spec;
    spec.length = 1500;
    spec.periodSamples = 377.3;
    spec.noise = 0.05;
    const estimation_test::Capture c =
        normalised(estimation_test::makeCapture(spec, estimation_test::hardClipDevice()));
    const RefinedFit fit = refineOrthogonal(c.x, c.y, 0.05, 1e-4);
    const estimation_literal::RefineResult literal =
        estimation_literal::refineOrthogonal(zip(c.x, c.y), 0.05, 1e-4);
    EXPECT_GT(fit.passes, 1);
    EXPECT_EQ(fit.passes, literal.passes);
    EXPECT_LT(maxAbsDifference(fit.values, literal.values), 1e-9);
}

TEST(OrthogonalDistanceFit, SteepDeviceRunsAllFivePassesWithItsSlopeLimited)
{
    // clamp(40 x) still moves after four passes, and its slope of 40 is limited to 10 in the weights.
    estimation_test::CaptureSpec spec;
    spec.length = 3000;
    spec.periodSamples = 611.3;
    spec.noise = 0.02;
    const estimation_test::Capture c =
        normalised(estimation_test::makeCapture(spec, estimation_test::steepClipDevice()));
    const RefinedFit fit = refineOrthogonal(c.x, c.y, 0.05, 1e-4);
    const estimation_literal::RefineResult literal =
        estimation_literal::refineOrthogonal(zip(c.x, c.y), 0.05, 1e-4);
    EXPECT_EQ(fit.passes, 5);
    EXPECT_EQ(literal.passes, 5);
    EXPECT_LT(maxAbsDifference(fit.values, literal.values), 1e-9);
}

TEST(OrthogonalDistanceFit, SeedCountsAndValuesMatchTheLiteralWindows)
{
    // Dense and sparse regions, duplicated x values and samples right at window edges.
    std::mt19937 rng(21);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<double> x, y;
    for (int k = 0; k < 1800; ++k)
    {
        const double v = k < 1400 ? 0.3 * unit(rng) : unit(rng);
        x.push_back(v);
        y.push_back(std::tanh(2.0 * v) + 0.02 * unit(rng));
    }
    for (int i = 0; i < BinCount; i += 997)
    {
        x.push_back(gridX(i) + 0.05);
        y.push_back(0.5);
        x.push_back(gridX(i));
        y.push_back(-0.5);
    }
    for (double bandwidth : {0.05, 0.01})
    {
        const SeedFit seed = seedLocalLinear(x, y, bandwidth);
        const estimation_literal::SeedResult literal =
            estimation_literal::seedLocalLinear(zip(x, y), bandwidth);
        for (int i = 0; i < BinCount; ++i)
        {
            const size_t k = static_cast<size_t>(i);
            ASSERT_EQ(seed.counts[k], static_cast<std::int32_t>(literal.counts[k]))
                << i << " b " << bandwidth;
            ASSERT_EQ(std::isnan(seed.values[k]), std::isnan(literal.values[k])) << i;
            if (!std::isnan(seed.values[k]))
            {
                ASSERT_NEAR(seed.values[k], literal.values[k], 1e-9) << i << " b " << bandwidth;
            }
        }
    }
}

TEST(OrthogonalDistanceFit, SinglePairOrPairsFarApartFallBackToTheBinnedMean)
{
    for (const auto& [x, y] :
         {std::pair<std::vector<double>, std::vector<double>>{{0.3}, {0.7}}, {{-0.5, 0.5}, {0.2, -0.4}}})
    {
        const TransferFunctionEstimate odr = fitOrthogonalDistance(x, y, 20);
        const TransferFunctionEstimate binned = fitBinnedMean(x, y, 20);
        ASSERT_TRUE(odr.valid);
        EXPECT_EQ(odr.rawBins, binned.rawBins);
        EXPECT_EQ(odr.smoothedBins, binned.smoothedBins);
    }
}

TEST(OrthogonalDistanceFit, TwoPairsAtOneXGiveTheirMeanInsteadOfFallingBack)
{
    const RefinedFit fit = refineOrthogonal({0.2, 0.2}, {0.1, 0.4}, 0.05, 1e-4);
    const int nearest = static_cast<int>(std::lround((0.2 + 1.0) * 0.5 * (BinCount - 1)));
    EXPECT_NEAR(fit.values[static_cast<size_t>(nearest)], 0.25, 1e-12);
    EXPECT_TRUE(std::isnan(fit.values[0]));
}

TEST(OrthogonalDistanceFit, PartialCoverageOfAnIdentityDeviceExtendsTheLine)
{
    // Samples only in 0.2..1: grid points that a single sample barely reaches get no fit of their
    // own and must be gaps, not placeholder zeros that the gap filler would stretch.
    std::vector<double> x;
    for (int k = 0; k < 8000; ++k)
        x.push_back(0.2 + 0.8 * k / 7999.0);
    const TransferFunctionEstimate e = fitOrthogonalDistance(x, x, 1);
    ASSERT_TRUE(e.valid);
    for (int i = 0; i < BinCount; ++i)
    {
        const double v = e.rawBins[static_cast<size_t>(i)];
        if (gridX(i) >= 0.2)
        {
            ASSERT_NEAR(v, gridX(i), 1e-9) << i;
        }
        else
        {
            ASSERT_TRUE(v > -1.5 && v < 0.5) << i << " " << v;
        }
    }
}

TEST(OrthogonalDistanceFit, OffsetSineCaptureKeepsItsScale)
{
    // 31 Hz at 48 kHz with a +0.5 offset: x covers only -1/3..1 after normalisation.
    std::mt19937 rng(31);
    std::normal_distribution<double> noise(0.0, 1e-3);
    std::vector<double> x(65536), y(65536);
    for (size_t k = 0; k < x.size(); ++k)
    {
        x[k] = 0.5 + std::sin(2.0 * 3.14159265358979323846 * 31.0 * static_cast<double>(k) / 48000.0);
        y[k] = x[k] + noise(rng);
    }
    const TransferFunctionEstimate e =
        estimateTransferFunction(x, y, BinCount, 50, EstimationMethod::OrthogonalFit);
    ASSERT_TRUE(e.valid);
    EXPECT_LT(std::abs(e.rawBins[0]), 1.5);
    double worst = 0.0;
    for (int i = 0; i < BinCount; ++i)
    {
        const double at = gridX(i) - 1.0 / (BinCount - 1); // the smoothed curve lags half an entry
        if (at > -1.0 / 3.0 + 0.01 && i < BinCount - 2)
        {
            worst = std::max(worst, std::abs(e.smoothedBins[static_cast<size_t>(i)] - at));
        }
    }
    EXPECT_LE(worst, 1e-3); // measured 7.4e-4: noise of 1e-3 left after averaging, and the half-entry lag
}

TEST(OrthogonalDistanceFit, ResultDoesNotDependOnThreadCountOrVectorPath)
{
    estimation_test::CaptureSpec spec;
    spec.length = 12000;
    spec.wave = estimation_test::Wave::Noise;
    spec.noise = 0.02;
    const estimation_test::Capture c =
        normalised(estimation_test::makeCapture(spec, estimation_test::asymmetricDevice()));
    const ExecutionSettings saved = getExecutionSettings();
    setExecutionSettings({1, true});
    const TransferFunctionEstimate one = fitOrthogonalDistance(c.x, c.y, 50);
    for (ExecutionSettings s :
         {ExecutionSettings{2, true}, ExecutionSettings{3, true}, ExecutionSettings{2, false}})
    {
        setExecutionSettings(s);
        const TransferFunctionEstimate other = fitOrthogonalDistance(c.x, c.y, 50);
        EXPECT_LE(maxAbsDifference(other.rawBins, one.rawBins), s.allowVectorPath ? 0.0 : 1e-12)
            << s.maxThreads;
        EXPECT_LE(maxAbsDifference(other.smoothedBins, one.smoothedBins), s.allowVectorPath ? 0.0 : 1e-12);
    }
    setExecutionSettings(saved);
}
