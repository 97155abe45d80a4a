#include "estimation/SweepMean.h"
#include "TestSignals.h"
#include "estimation/ExecutionSettings.h"
#include "estimation/OrthogonalDistanceFit.h"
#include "literal/LiteralEstimator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace estimation;
using estimation_test::maxAbsDifference;

namespace
{

std::vector<double> sineX(int n, double period)
{
    std::vector<double> x(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        x[static_cast<size_t>(k)] = std::sin(2.0 * 3.14159265358979323846 * (k + 0.25) / period);
    return x;
}

// Resamples one sweep alone through the accumulator.
std::vector<double> resampleAlone(const std::vector<double>& x, const std::vector<double>& y,
                                  const Sweep& sweep)
{
    SweepAccumulator accumulator;
    resampleSweep(x, y, sweep, accumulator);
    return combineSweeps(accumulator);
}

void expectSameSweeps(const std::vector<Sweep>& a, const std::vector<estimation_literal::Sweep>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t k = 0; k < a.size(); ++k)
    {
        EXPECT_EQ(a[k].first, b[k].first) << k;
        EXPECT_EQ(a[k].last, b[k].last) << k;
        EXPECT_EQ(a[k].rising, b[k].rising) << k;
        EXPECT_EQ(a[k].xMin, b[k].xMin) << k;
        EXPECT_EQ(a[k].xMax, b[k].xMax) << k;
    }
}

} // namespace

TEST(SweepMean, SineGivesOneSweepPerHalfPeriodSharingTurningSamples)
{
    const std::vector<double> x = sineX(1000, 200.0);
    const std::vector<Sweep> sweeps = findSweeps(x);
    ASSERT_EQ(sweeps.size(), 11u);
    EXPECT_EQ(sweeps.front().first, 0);
    EXPECT_EQ(sweeps.back().last, 999);
    for (size_t k = 1; k < sweeps.size(); ++k)
    {
        EXPECT_EQ(sweeps[k].first, sweeps[k - 1].last);
        EXPECT_NE(sweeps[k].rising, sweeps[k - 1].rising);
    }
}

TEST(SweepMean, FlatStartBelongsToTheFirstRunAndStepsInsideTheDeadbandDoNotTurn)
{
    const std::vector<double> x = {0.0, 0.0, 0.00005, 0.5, 1.0, 0.99995, 1.0, 0.5, 0.0};
    const std::vector<Sweep> sweeps = findSweeps(x);
    ASSERT_EQ(sweeps.size(), 2u);
    EXPECT_EQ(sweeps[0].first, 0);
    EXPECT_EQ(sweeps[0].last, 6);
    EXPECT_TRUE(sweeps[0].rising);
    EXPECT_EQ(sweeps[1].first, 6);
    EXPECT_EQ(sweeps[1].last, 8);
    EXPECT_FALSE(sweeps[1].rising);
}

TEST(SweepMean, LastStepReversalStillEmitsTheTwoSampleClosingRun)
{
    const std::vector<Sweep> sweeps = findSweeps({-1.0, 0.0, 1.0, 0.5});
    ASSERT_EQ(sweeps.size(), 2u);
    EXPECT_EQ(sweeps[1].first, 2);
    EXPECT_EQ(sweeps[1].last, 3);
    EXPECT_EQ(sweeps[1].xMin, 0.5);
    EXPECT_EQ(sweeps[1].xMax, 1.0);
}

TEST(SweepMean, ConstantOrTooShortInputHasNoSweep)
{
    EXPECT_TRUE(findSweeps({0.3, 0.3 + 5e-5, 0.3, 0.3 - 9e-5}).empty());
    EXPECT_TRUE(findSweeps({0.5}).empty());
    EXPECT_TRUE(findSweeps({}).empty());
}

TEST(SweepMean, NoisyInputSplitsLikeTheOracle)
{
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<double> x = sineX(5000, 700.0);
    for (double& v : x)
        v = 0.9 * v + 3e-4 * unit(rng);
    expectSameSweeps(findSweeps(x, 2, 1e-4), estimation_literal::findSweeps(x, 2, 1e-4));
    expectSameSweeps(findSweeps(x, 40, 1e-4), estimation_literal::findSweeps(x, 40, 1e-4));
}

TEST(SweepMean, SingleRampReproducesItsInterpolatedYInsideItsRange)
{
    std::vector<double> x, y;
    for (int k = 0; k <= 300; ++k)
    {
        x.push_back(-0.5 + 1.5 * k / 300.0);
        y.push_back(std::cos(3.0 * x.back()));
    }
    const TransferFunctionEstimate e = fitSweepMean(x, y, 50);
    ASSERT_TRUE(e.valid);
    for (int i = 0; i < BinCount; ++i)
    {
        const double d = gridX(i);
        if (d < -0.5)
            continue;
        const size_t j = std::min<size_t>(static_cast<size_t>((d + 0.5) / 1.5 * 300.0), 299);
        const double expected = y[j] + (d - x[j]) / (x[j + 1] - x[j]) * (y[j + 1] - y[j]);
        ASSERT_NEAR(e.rawBins[static_cast<size_t>(i)], expected, 1e-12) << i;
    }
}

TEST(SweepMean, UpAndDownSweepsWeighEquallyWhateverTheirNumber)
{
    // Rising sweeps hold y = 0 and y = 1 (mean 0.5); the single falling one runs from 0 to 1.
    const std::vector<double> x = {-1.0, 1.0, -1.0, 1.0};
    const std::vector<double> y = {0.0, 0.0, 1.0, 1.0};
    const TransferFunctionEstimate e = fitSweepMean(x, y, 1);
    for (int i : {0, 4000, 8191, 12000, BinCount - 1})
    {
        const double d = (2.0 * i) / (BinCount - 1) - 1.0;
        EXPECT_NEAR(e.rawBins[static_cast<size_t>(i)], (0.5 + (1.0 - d) / 2.0) * 0.5, 1e-15) << i;
    }
}

TEST(SweepMean, FirstBracketingIntervalWinsWhenASweepWigglesInsideTheDeadband)
{
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int trial = 0; trial < 4; ++trial)
    {
        // A slow rise whose steps often go back a little, by less than the deadband.
        std::vector<double> x, y;
        double v = -0.9;
        for (int k = 0; k < 4000; ++k)
        {
            v += 4e-4 + 9e-4 * unit(rng);
            x.push_back(v);
            y.push_back(std::sin(4.0 * v) + 0.01 * unit(rng));
        }
        Sweep whole{0, static_cast<std::int64_t>(x.size()) - 1, true, *std::min_element(x.begin(), x.end()),
                    *std::max_element(x.begin(), x.end())};
        estimation_literal::Sweep literal{whole.first, whole.last, true, whole.xMin, whole.xMax};
        EXPECT_LT(
            maxAbsDifference(resampleAlone(x, y, whole), estimation_literal::resampleSweep(x, y, literal)),
            1e-13);
    }
}

TEST(SweepMean, CaptureWithoutSweepIsHandedToTheOrthogonalFit)
{
    std::vector<double> x(500, 0.4), y(500);
    for (size_t k = 0; k < y.size(); ++k)
        y[k] = 0.1 * std::sin(0.1 * static_cast<double>(k));
    const TransferFunctionEstimate mean = fitSweepMean(x, y, 10);
    const TransferFunctionEstimate odr = fitOrthogonalDistance(x, y, 10);
    EXPECT_EQ(mean.rawBins, odr.rawBins);
    EXPECT_EQ(mean.smoothedBins, odr.smoothedBins);
}

TEST(SweepMean, SweepsBetweenGridPointsAreHandedToTheOrthogonalFit)
{
    // Each sweep spans more than the deadband but lies strictly between grid points 8192 and 8193.
    const double a = gridX(8192) + 5e-6, b = gridX(8193) - 5e-6;
    std::vector<double> x, y;
    for (int k = 0; k < 40; ++k)
    {
        x.push_back(k % 2 ? b : a);
        y.push_back(k % 2 ? 0.3 : 0.1);
    }
    ASSERT_FALSE(findSweeps(x).empty());
    const TransferFunctionEstimate mean = fitSweepMean(x, y, 10);
    EXPECT_EQ(mean.rawBins, fitOrthogonalDistance(x, y, 10).rawBins);
}

TEST(SweepMean, ResultDoesNotDependOnThreadCountOrVectorPath)
{
    estimation_test::CaptureSpec spec;
    spec.length = 20000;
    spec.inputNoise = 2e-4;
    spec.noise = 0.01;
    const estimation_test::Capture c = estimation_test::makeCapture(spec, estimation_test::tanhDevice());
    const ExecutionSettings saved = getExecutionSettings();
    setExecutionSettings({1, true});
    const TransferFunctionEstimate one = fitSweepMean(c.x, c.y, 50);
    for (ExecutionSettings s :
         {ExecutionSettings{2, true}, ExecutionSettings{3, true}, ExecutionSettings{3, false}})
    {
        setExecutionSettings(s);
        const TransferFunctionEstimate other = fitSweepMean(c.x, c.y, 50);
        EXPECT_EQ(other.rawBins, one.rawBins) << s.maxThreads;
        EXPECT_LE(maxAbsDifference(other.smoothedBins, one.smoothedBins), 1e-12);
    }
    setExecutionSettings(saved);
}
