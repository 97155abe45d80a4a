#include "estimation/OrthogonalDistanceFit.h"

#include "estimation/BinGapFilling.h"
#include "estimation/BinSmoothing.h"
#include "estimation/BinnedMean.h"
#include "estimation/LocalLineFitter.h"
#include "estimation/ParallelFor.h"
#include "estimation/SampleCells.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace estimation
{
namespace
{

constexpr double odrBandwidth = 0.05;
constexpr double odrTolerance = 1e-4;
constexpr int maximumPasses = 5;
constexpr double slopeLimit = 10.0;

double seedBandwidth(double bandwidth)
{
    return std::clamp(bandwidth, 0.02, 0.5);
}

bool allNaN(const std::vector<double>& v)
{
    return std::all_of(v.begin(), v.end(), [](double value) { return std::isnan(value); });
}

SeedFit seedOnCells(SampleCells& cells, double bandwidth)
{
    const double b = seedBandwidth(bandwidth);
    std::fill(cells.weightFactors().begin(), cells.weightFactors().end(), 1.0);
    cells.computeMoments(b);
    LocalLineFits fits = fitLocalLines(cells, b, GridFormula::Seed);
    SeedFit seed;
    seed.values = std::move(fits.values);
    seed.counts = std::move(fits.counts);
    return seed;
}

// 1 / (1 + s²) per sample, s the slope of the curve at the sample's x.
void setSlopeWeights(SampleCells& cells, const std::vector<double>& curve)
{
    const double* xs = cells.sampleX();
    std::vector<double>& q = cells.weightFactors();
    const double step = 2.0 / (BinCount - 1);
    parallelFor(static_cast<int>(q.size()),
                [&](int begin, int end)
                {
                    for (int s = begin; s < end; ++s)
                    {
                        const double position = std::floor((xs[s] + 1.0) / step);
                        const int j =
                            static_cast<int>(std::clamp(position, 0.0, static_cast<double>(BinCount - 1)));
                        double slope;
                        if (j == 0)
                            slope = (curve[1] - curve[0]) / step;
                        else if (j == BinCount - 1)
                            slope = (curve[BinCount - 1] - curve[BinCount - 2]) / step;
                        else
                            slope = (curve[static_cast<size_t>(j + 1)] - curve[static_cast<size_t>(j - 1)]) /
                                    (4.0 / (BinCount - 1));
                        slope = std::clamp(slope, -slopeLimit, slopeLimit);
                        q[static_cast<size_t>(s)] = 1.0 / (1.0 + slope * slope);
                    }
                });
}

} // namespace

SeedFit seedLocalLinear(const std::vector<double>& x, const std::vector<double>& y, double bandwidth)
{
    if (std::min(x.size(), y.size()) == 0)
        return SeedFit{std::vector<double>(BinCount, std::numeric_limits<double>::quiet_NaN()),
                       std::vector<std::int32_t>(BinCount, 0)};
    SampleCells cells(x, y, seedBandwidth(bandwidth));
    return seedOnCells(cells, bandwidth);
}

RefinedFit refineOrthogonal(const std::vector<double>& x, const std::vector<double>& y, double bandwidth,
                            double tolerance)
{
    RefinedFit result;
    result.values.assign(BinCount, std::numeric_limits<double>::quiet_NaN());
    if (std::min(x.size(), y.size()) == 0)
        return result;

    SampleCells cells(x, y, std::max(seedBandwidth(bandwidth), bandwidth));
    const SeedFit seed = seedOnCells(cells, bandwidth);
    if (allNaN(seed.values))
        return result;

    // Working curve: seed values, 0 where the seed had none. A point counts as fitted once the seed or
    // any pass gave it a value; one that never was stays a gap for the gap filler even when a sample
    // reached it, since its placeholder 0 is no estimate.
    std::vector<double> curve(BinCount);
    std::vector<char> fitted(BinCount);
    for (int i = 0; i < BinCount; ++i)
    {
        const double v = seed.values[static_cast<size_t>(i)];
        fitted[static_cast<size_t>(i)] = !std::isnan(v);
        curve[static_cast<size_t>(i)] = std::isnan(v) ? 0.0 : v;
    }

    int counter = 0;
    while (true)
    {
        setSlopeWeights(cells, curve);
        cells.computeMoments(bandwidth);
        const LocalLineFits fits = fitLocalLines(cells, bandwidth, GridFormula::Pass);
        ++result.passes;

        double largestChange = 0.0;
        for (size_t i = 0; i < curve.size(); ++i)
        {
            const double v = fits.values[i];
            if (std::isnan(v))
                continue;
            fitted[i] = 1;
            const double change = std::abs(v - curve[i]);
            if (change > largestChange)
                largestChange = change;
            curve[i] = v;
        }
        if (largestChange < tolerance)
            break;
        if (++counter == maximumPasses)
            break;
    }

    for (size_t i = 0; i < curve.size(); ++i)
        if (seed.counts[i] != 0 && fitted[i])
            result.values[i] = curve[i];
    return result;
}

TransferFunctionEstimate fitOrthogonalDistance(const std::vector<double>& x, const std::vector<double>& y,
                                               int smoothing)
{
    const RefinedFit refined = refineOrthogonal(x, y, odrBandwidth, odrTolerance);
    if (allNaN(refined.values))
        return fitBinnedMean(x, y, smoothing);

    return finishEstimate(refined.values, smoothing);
}

} // namespace estimation
