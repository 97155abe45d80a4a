#include "estimation/FitReport.h"

#include "estimation/BinGapFilling.h"
#include "estimation/BinnedMean.h"
#include "estimation/EstimationTypes.h"
#include "estimation/ParallelFor.h"
#include "estimation/SweepAccumulator.h"
#include "estimation/SweepMean.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace estimation
{
namespace
{
constexpr double gridStep = 2.0 / (BinCount - 1);
constexpr int gapBlock = 64;

// Share of grid points that lie between two consecutive x samples (or on a lone one).
double coveredShare(const std::vector<double>& x)
{
    std::vector<int> marks(BinCount + 1, 0);
    for (size_t k = 0; k < x.size(); ++k)
    {
        const double a = x[k], b = k + 1 < x.size() ? x[k + 1] : x[k];
        const double lo = std::ceil((std::min(a, b) + 1.0) / gridStep);
        const double hi = std::floor((std::max(a, b) + 1.0) / gridStep);
        if (lo > hi)
            continue;
        ++marks[static_cast<size_t>(std::clamp(lo, 0.0, BinCount - 1.0))];
        --marks[static_cast<size_t>(std::clamp(hi, 0.0, BinCount - 1.0)) + 1];
    }
    int open = 0, covered = 0;
    for (int i = 0; i < BinCount; ++i)
    {
        open += marks[static_cast<size_t>(i)];
        covered += open > 0 ? 1 : 0;
    }
    return static_cast<double>(covered) / BinCount;
}

double curveAt(const std::vector<double>& curve, double x)
{
    const double t = std::clamp((x + 1.0) / gridStep, 0.0, BinCount - 1.0);
    const size_t i = std::min(static_cast<size_t>(t), static_cast<size_t>(BinCount - 2));
    return curve[i] + (t - static_cast<double>(i)) * (curve[i + 1] - curve[i]);
}

std::string fixed(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string percent(double share)
{
    return fixed(100.0 * share, 1);
}

std::string decibels(double share)
{
    return fixed(20.0 * std::log10(share), 1);
}

struct ResidualMoments
{
    double rms = 0.0;
    double correlation = std::numeric_limits<double>::quiet_NaN();
};

// Root-mean-square distance of y from the curve, and the correlation of that distance between
// neighbouring pairs (about its mean): near 0 for white noise, near 1 for a departure that moves
// with the signal, as the output of a device with memory does. One pass, no copy of the residual.
// Pairs left out for a non-finite sample join their neighbours; they are too rare to matter.
ResidualMoments residualMoments(const std::vector<double>& xs, const std::vector<double>& ys,
                                const std::vector<double>& curve)
{
    double sum = 0.0, sumSquares = 0.0;
    double neighbourProducts = 0.0, neighbourSums = 0.0;
    double previous = 0.0;
    for (size_t k = 0; k < xs.size(); ++k)
    {
        const double r = ys[k] - curveAt(curve, xs[k]);
        sum += r;
        sumSquares += r * r;
        if (k > 0)
        {
            neighbourProducts += r * previous;
            neighbourSums += r + previous;
        }
        previous = r;
    }
    const double n = static_cast<double>(xs.size());
    ResidualMoments moments;
    moments.rms = std::sqrt(sumSquares / n);
    const double mean = sum / n;
    const double variance = sumSquares / n - mean * mean;
    if (xs.size() > 1 && variance > 1e-24)
    {
        const double m = n - 1.0;
        const double covariance = (neighbourProducts - mean * neighbourSums) / m + mean * mean;
        moments.correlation = std::clamp(covariance / variance, -1.0, 1.0);
    }
    return moments;
}
} // namespace

FitReport makeFitReport(const std::vector<double>& x, const std::vector<double>& y, LatencyEstimate latency,
                        const std::vector<double>& fittedCurve)
{
    FitReport report;
    report.latency = std::move(latency);

    // The estimator's view of the capture: whole pairs only, each stream scaled to its peak.
    std::vector<double> xs, ys;
    double xPeak = 0.0, yPeak = 0.0;
    for (size_t k = 0; k < std::min(x.size(), y.size()); ++k)
        if (std::isfinite(x[k]) && std::isfinite(y[k]))
        {
            xs.push_back(x[k]);
            ys.push_back(y[k]);
            xPeak = std::max(xPeak, std::abs(x[k]));
            yPeak = std::max(yPeak, std::abs(y[k]));
        }
    if (x.size() != y.size() || xs.empty() || xPeak == 0.0 || yPeak == 0.0)
    {
        report.message = x.size() != y.size() ? "X and Y differ in length"
                         : xs.empty()         ? "no pair holds two finite samples"
                         : xPeak == 0.0       ? "X is silent"
                                              : "Y is silent";
        return report;
    }
    for (size_t k = 0; k < xs.size(); ++k)
    {
        xs[k] /= xPeak;
        ys[k] /= yPeak;
    }
    report.valid = true;

    const auto [lowest, highest] = std::minmax_element(xs.begin(), xs.end());
    report.xMin = *lowest;
    report.xMax = *highest;
    report.coverage = coveredShare(xs);

    // Rising and falling sweeps kept apart: a memoryless device traces one curve both ways.
    const std::vector<Sweep> sweeps = findSweeps(xs);
    SweepAccumulator accumulator;
    {
        const ParallelScope threads;
        parallelFor(BinCount,
                    [&](int begin, int end)
                    {
                        for (const Sweep& sweep : sweeps)
                            resampleSweep(xs, ys, sweep, accumulator, begin, end);
                    });
    }
    const auto rising = accumulator.directionMean(true, gapMinimumSweeps);
    const auto falling = accumulator.directionMean(false, gapMinimumSweeps);
    // Compared block by block: noise averages out within a block, a loop of a device with memory
    // does not.
    for (int block = 0; block < BinCount; block += gapBlock)
    {
        double sum = 0.0;
        int count = 0;
        for (int i = block; i < block + gapBlock; ++i)
        {
            const double difference = rising[static_cast<size_t>(i)] - falling[static_cast<size_t>(i)];
            if (std::isfinite(difference))
            {
                sum += difference;
                ++count;
            }
        }
        const double gap = count > 0 ? std::abs(sum / count) : std::numeric_limits<double>::quiet_NaN();
        if (std::isfinite(gap) && !(gap <= report.directionGap))
            report.directionGap = gap;
    }
    // The residual about the fit, or about the capture's own mean curve when there is no fit.
    report.residualAboutFit = fittedCurve.size() == static_cast<size_t>(BinCount);
    std::vector<double> curve = fittedCurve;
    if (!report.residualAboutFit)
    {
        const auto combined = accumulator.combined();
        curve = std::all_of(combined.begin(), combined.end(), [](double v) { return std::isnan(v); })
                    ? fitBinnedMean(xs, ys, 1).rawBins
                    : fillBinGaps(combined);
    }
    const ResidualMoments moments = residualMoments(xs, ys, curve);
    report.residual = moments.rms;
    report.residualCorrelation = moments.correlation;

    const bool gapFlagged = report.directionGap > memoryGapThreshold;
    const bool residualFlagged =
        report.residual > memoryResidualThreshold && report.residualCorrelation > memoryCorrelationThreshold;
    if (gapFlagged || residualFlagged)
    {
        report.memoryWarning = true;
        std::string evidence;
        if (gapFlagged)
            evidence = "rising and falling sweeps differ by up to " + percent(report.directionGap) +
                       " % of full scale";
        if (residualFlagged)
            evidence += std::string(gapFlagged ? ", and " : "") + "Y departs from the curve by " +
                        decibels(report.residual) + " dB, smoothly from sample to sample (correlation " +
                        fixed(report.residualCorrelation, 2) + "), as noise does not";
        report.warning = evidence +
                         ": the device has memory (a filter before its nonlinearity, hysteresis) or the "
                         "latency is wrong. Check the latency; if it is right, no static curve describes "
                         "this device exactly: measure with a test signal in the band where its filters are "
                         "flat, or treat the curve as an approximation";
    }
    return report;
}

} // namespace estimation
