#include "estimation/TransferFunctionEstimator.h"

#include "estimation/OrthogonalDistanceFit.h"
#include "estimation/SweepMean.h"

#include <cmath>

namespace estimation
{

std::vector<double> normaliseToPeak(const std::vector<double>& v)
{
    double peak = 0.0;
    for (double value : v)
        if (std::abs(value) > peak)
            peak = std::abs(value);
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
    std::vector<double> xn = normaliseToPeak(x);
    std::vector<double> yn = normaliseToPeak(y);
    if (xn.empty() || yn.empty() || xn.size() != yn.size())
        return {};

    // A NaN sample says nothing about the curve and would poison every sum it enters.
    size_t kept = 0;
    for (size_t k = 0; k < xn.size(); ++k)
    {
        if (std::isnan(xn[k]) || std::isnan(yn[k]))
            continue;
        xn[kept] = xn[k];
        yn[kept] = yn[k];
        ++kept;
    }
    xn.resize(kept);
    yn.resize(kept);

    if (method == EstimationMethod::OrthogonalFit)
        return fitOrthogonalDistance(xn, yn, smoothing);
    return fitSweepMean(xn, yn, smoothing);
}

} // namespace estimation
