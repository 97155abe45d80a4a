#include "estimation/TransferFunctionEstimator.h"

#include "estimation/OrthogonalDistanceFit.h"
#include "estimation/ParallelFor.h"
#include "estimation/SweepMean.h"

#include <algorithm>
#include <cmath>

namespace estimation
{

namespace
{
double peakMagnitude(const std::vector<double>& v)
{
    double peak = 0.0;
    for (double value : v)
        if (std::abs(value) > peak)
            peak = std::abs(value);
    return peak;
}
} // namespace

std::vector<double> normaliseToPeak(const std::vector<double>& v)
{
    const double peak = peakMagnitude(v);
    if (v.empty() || peak == 0.0)
        return {};
    std::vector<double> out(v.size());
    for (size_t k = 0; k < v.size(); ++k)
        out[k] = v[k] / peak;
    return out;
}

TransferFunctionEstimate estimateTransferFunction(const std::vector<double>& x, const std::vector<double>& y,
                                                  int /*tableSize*/, int smoothing, EstimationMethod method)
{
    if (x.size() != y.size())
        return TransferFunctionEstimate::failed(EstimateFailure::mismatchedLengths);

    // A pair with a non-finite sample says nothing about the curve: a NaN would poison every sum it
    // enters, and an infinity would become the peak and scale every other sample to 0. Such pairs go
    // before the peaks are taken.
    const size_t n = x.size();
    std::vector<double> xn(n), yn(n);
    size_t kept = 0;
    double xPeak = 0.0, yPeak = 0.0;
    for (size_t k = 0; k < n; ++k)
    {
        const double a = x[k], b = y[k];
        if (!std::isfinite(a) || !std::isfinite(b))
            continue;
        xn[kept] = a;
        yn[kept] = b;
        ++kept;
        xPeak = std::max(xPeak, std::abs(a));
        yPeak = std::max(yPeak, std::abs(b));
    }

    // Nothing left, or a channel that is silent in every pair left: nothing to estimate from.
    if (kept == 0)
        return TransferFunctionEstimate::failed(EstimateFailure::noFinitePair);
    if (xPeak == 0.0)
        return TransferFunctionEstimate::failed(EstimateFailure::xSilent);
    if (yPeak == 0.0)
        return TransferFunctionEstimate::failed(EstimateFailure::ySilent);
    xn.resize(kept);
    yn.resize(kept);
    for (size_t k = 0; k < kept; ++k)
    {
        xn[k] /= xPeak;
        yn[k] /= yPeak;
    }

    // The parallel stages of this estimate (up to seventeen for an ODR fit) share one set of helper
    // threads, started once and joined before the estimate returns.
    const ParallelScope threads;
    if (method == EstimationMethod::OrthogonalFit)
        return fitOrthogonalDistance(xn, yn, smoothing);
    return fitSweepMean(xn, yn, smoothing);
}

} // namespace estimation
