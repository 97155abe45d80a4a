#include "LiteralEstimator.h"

#include <cmath>
#include <limits>

namespace estimation_literal
{

TransferFunctionEstimate fitBinnedMean(const std::vector<double>& x, const std::vector<double>& y,
                                       int smoothing)
{
    std::vector<std::vector<double>> bins(16384);
    for (size_t k = 0; k < x.size(); ++k)
    {
        double cx = x[k];
        if (cx < -1.0)
            cx = -1.0;
        if (cx > 1.0)
            cx = 1.0;
        int b = (int) std::trunc((cx + 1.0) * 0.5 * 16383);
        if (b < 0)
            b = 0;
        if (b > 16383)
            b = 16383;
        bins[b].push_back(y[k]);
    }
    std::vector<double> values(16384, std::numeric_limits<double>::quiet_NaN());
    for (int b = 0; b < 16384; ++b)
    {
        if (bins[b].empty())
            continue;
        double sum = 0.0;
        for (double v : bins[b])
            sum += v;
        values[b] = sum / bins[b].size();
    }
    TransferFunctionEstimate result;
    result.rawBins = fillBinGaps(values);
    result.smoothedBins = smoothBins(result.rawBins, smoothing);
    result.valid = true;
    return result;
}

std::vector<double> fillBinGaps(const std::vector<double>& v)
{
    const int n = (int) v.size();
    int first = -1, last = -1;
    for (int i = 0; i < n; ++i)
    {
        if (!std::isnan(v[i]))
        {
            if (first == -1)
                first = i;
            last = i;
        }
    }
    if (first == -1)
        return std::vector<double>(n, 0.0);
    if (first == last)
        return std::vector<double>(n, v[first]);

    std::vector<double> out = v;
    for (int i = first + 1; i < last; ++i)
    {
        if (!std::isnan(v[i]))
            continue;
        int l = i - 1;
        while (std::isnan(v[l]))
            --l;
        int r = i + 1;
        while (std::isnan(v[r]))
            ++r;
        out[i] = v[l] + (double) (i - l) / (double) (r - l) * (v[r] - v[l]);
    }
    for (int i = 0; i < first; ++i)
        out[i] = out[first] + (i - first) * (out[first + 1] - out[first]);
    for (int i = last + 1; i < n; ++i)
        out[i] = out[last] + (i - last) * (out[last] - out[last - 1]);
    return out;
}

} // namespace estimation_literal
