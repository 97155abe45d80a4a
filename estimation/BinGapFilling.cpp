#include "estimation/BinGapFilling.h"

#include "estimation/BinSmoothing.h"

#include <cmath>

namespace estimation
{

std::vector<double> fillBinGaps(const std::vector<double>& values)
{
    const long n = static_cast<long>(values.size());
    long first = -1, last = -1;
    for (long i = 0; i < n; ++i)
    {
        if (!std::isnan(values[static_cast<size_t>(i)]))
        {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return std::vector<double>(values.size(), 0.0);
    if (first == last)
        return std::vector<double>(values.size(), values[static_cast<size_t>(first)]);

    std::vector<double> v = values;
    long left = first;
    for (long i = first + 1; i <= last; ++i)
    {
        if (std::isnan(v[static_cast<size_t>(i)]))
            continue;
        // Bridge the run of holes between left and i.
        const double vl = v[static_cast<size_t>(left)], vr = v[static_cast<size_t>(i)];
        const double span = static_cast<double>(i - left);
        for (long k = left + 1; k < i; ++k)
            v[static_cast<size_t>(k)] = vl + static_cast<double>(k - left) / span * (vr - vl);
        left = i;
    }

    // The first and last steps use the bridged neighbours.
    const double headStep = v[static_cast<size_t>(first + 1)] - v[static_cast<size_t>(first)];
    for (long i = 0; i < first; ++i)
        v[static_cast<size_t>(i)] = v[static_cast<size_t>(first)] + static_cast<double>(i - first) * headStep;
    const double tailStep = v[static_cast<size_t>(last)] - v[static_cast<size_t>(last - 1)];
    for (long i = last + 1; i < n; ++i)
        v[static_cast<size_t>(i)] = v[static_cast<size_t>(last)] + static_cast<double>(i - last) * tailStep;
    return v;
}

TransferFunctionEstimate finishEstimate(const std::vector<double>& values, int smoothing)
{
    TransferFunctionEstimate result;
    result.rawBins = fillBinGaps(values);
    result.smoothedBins = smoothBins(result.rawBins, smoothing);
    result.valid = true;
    return result;
}

} // namespace estimation
