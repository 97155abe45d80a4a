#include "estimation/BinnedMean.h"

#include "estimation/BinGapFilling.h"
#include "estimation/BinSmoothing.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace estimation
{

TransferFunctionEstimate fitBinnedMean(const std::vector<double>& x, const std::vector<double>& y,
                                       int smoothing)
{
    std::vector<double> sums(BinCount, 0.0);
    std::vector<long> counts(BinCount, 0);
    const size_t n = std::min(x.size(), y.size());
    for (size_t k = 0; k < n; ++k)
    {
        if (std::isnan(x[k]))
            continue;
        const double position = (std::clamp(x[k], -1.0, 1.0) + 1.0) * 0.5 * (BinCount - 1);
        const int bin = std::clamp(static_cast<int>(std::trunc(position)), 0, BinCount - 1);
        sums[static_cast<size_t>(bin)] += y[k];
        ++counts[static_cast<size_t>(bin)];
    }

    std::vector<double> values(BinCount, std::numeric_limits<double>::quiet_NaN());
    for (int b = 0; b < BinCount; ++b)
        if (counts[static_cast<size_t>(b)] > 0)
            values[static_cast<size_t>(b)] =
                sums[static_cast<size_t>(b)] / static_cast<double>(counts[static_cast<size_t>(b)]);

    return finishEstimate(values, smoothing);
}

} // namespace estimation
