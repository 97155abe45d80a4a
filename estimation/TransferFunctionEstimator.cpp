#include "estimation/TransferFunctionEstimator.h"

#include "estimation/OrthogonalDistanceFit.h"
#include "estimation/ParallelFor.h"
#include "estimation/SweepMean.h"

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
        return {};

    // A pair with a non-finite sample says nothing about the curve: a NaN would poison every sum it
    // enters, and an infinity would become the peak and scale every other sample to 0. Such pairs go
    // before the peaks are taken.
    std::vector<double> xn, yn;
    xn.reserve(x.size());
    yn.reserve(y.size());
    for (size_t k = 0; k < x.size(); ++k)
    {
        if (std::isfinite(x[k]) && std::isfinite(y[k]))
        {
            xn.push_back(x[k]);
            yn.push_back(y[k]);
        }
    }

    // Nothing left, or a channel that is silent in every pair left: nothing to estimate from.
    const double xPeak = peakMagnitude(xn);
    const double yPeak = peakMagnitude(yn);
    if (xn.empty() || xPeak == 0.0 || yPeak == 0.0)
        return {};
    for (size_t k = 0; k < xn.size(); ++k)
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
