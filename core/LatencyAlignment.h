#pragma once

#include <optional>
#include <vector>

// Forms the pairs a refit estimates from: the newest captureLength pairs of a frozen capture, with
// X delayed by latencyX samples and Y by latencyY (fractional delays by Catmull-Rom interpolation).
struct AlignedCapture
{
    std::vector<double> x;
    std::vector<double> y;
};

namespace LatencyAlignment
{
// Fractions at or below this count as whole samples.
inline constexpr double fractionTolerance = 1e-9;

// Empty when there is nothing left to estimate from: an empty or mismatched capture, a latency that
// is negative, not a number or longer than the capture, or too few pairs for the latencies and the
// interpolation margin.
std::optional<AlignedCapture> alignCapture(const std::vector<double>& snapshotX,
                                           const std::vector<double>& snapshotY, int captureLength,
                                           double latencyX, double latencyY);
} // namespace LatencyAlignment
