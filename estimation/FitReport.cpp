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

std::string percent(double share)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", 100.0 * share);
    return text;
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
    if (report.directionGap > memoryGapThreshold)
    {
        report.memoryWarning = true;
        report.warning = "rising and falling sweeps differ by up to " + percent(report.directionGap) +
                         " % of full scale: the device has memory (a filter before its nonlinearity, "
                         "hysteresis), or the latency is set wrong; no static curve describes it exactly";
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
    double sumSquares = 0.0;
    for (size_t k = 0; k < xs.size(); ++k)
    {
        const double r = ys[k] - curveAt(curve, xs[k]);
        sumSquares += r * r;
    }
    report.residual = std::sqrt(sumSquares / static_cast<double>(xs.size()));
    return report;
}

} // namespace estimation
