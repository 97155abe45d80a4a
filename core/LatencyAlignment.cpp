#include "core/LatencyAlignment.h"

#include "estimation/FractionalShift.h"

#include <algorithm>
#include <cmath>

namespace LatencyAlignment
{
std::optional<AlignedCapture> alignCapture(const std::vector<double>& snapshotX,
                                           const std::vector<double>& snapshotY, int captureLength,
                                           double latencyX, double latencyY)
{
    const auto available = (long long) snapshotX.size();
    if (available == 0 || snapshotY.size() != snapshotX.size() || captureLength < 1)
        return std::nullopt;

    const auto n = std::min(available, (long long) captureLength);

    // Written so that NaN fails too; also keeps the integer conversions below defined.
    const auto isUsable = [n](double latency) { return latency >= 0.0 && latency <= (double) n; };
    if (!isUsable(latencyX) || !isUsable(latencyY))
        return std::nullopt;

    // Both streams are read relative to a common reference C samples into the capture.
    const auto common = (long long) std::ceil(std::max(latencyX, latencyY));
    const auto shiftX = (double) common - latencyX;
    const auto shiftY = (double) common - latencyY;
    const auto wholeX = (long long) std::floor(shiftX);
    const auto wholeY = (long long) std::floor(shiftY);
    const auto fractionX = shiftX - (double) wholeX;
    const auto fractionY = shiftY - (double) wholeY;

    const auto fractional = fractionX > fractionTolerance || fractionY > fractionTolerance;
    const auto margin = fractional ? 2 : 0;
    const auto m = n - margin - common;

    // The interpolation trims two pairs at each end; with four or fewer nothing would be left.
    if (m < 1 || (fractional && m <= 4))
        return std::nullopt;

    const auto start = available - n;
    AlignedCapture aligned;
    aligned.x.assign(snapshotX.begin() + start + wholeX, snapshotX.begin() + start + wholeX + m);
    aligned.y.assign(snapshotY.begin() + start + wholeY, snapshotY.begin() + start + wholeY + m);

    if (fractional)
    {
        if (fractionX > fractionTolerance)
            aligned.x = estimation::shiftByFraction(aligned.x, fractionX);
        if (fractionY > fractionTolerance)
            aligned.y = estimation::shiftByFraction(aligned.y, fractionY);

        for (auto* v : {&aligned.x, &aligned.y})
        {
            v->erase(v->end() - 2, v->end());
            v->erase(v->begin(), v->begin() + 2);
        }
    }
    return aligned;
}
} // namespace LatencyAlignment
