#pragma once

#include <optional>
#include <string>
#include <vector>

namespace estimation
{

struct LatencyEstimate
{
    // Delay of Y against X in samples: positive when Y lags X (compensated by delaying X by as much),
    // negative when Y leads X. Empty when the capture cannot tell; message then says why.
    std::optional<double> samples;
    std::string message;
    // Share of Y's variance that a static curve of X, delayed by the estimate, leaves unexplained.
    double unexplained = 1.0;
};

// Finds the delay at which Y is best explained as a static function of the delayed X: the one whose
// quick binned fit of y against x leaves the least residual. Unlike cross-correlation this works for
// any curve, even ones (a full-wave rectifier) whose output does not correlate with their input.
// Whole-sample lags within ±largestLag are searched on a thinned capture, the best is checked on
// every pair, then refined to a fraction with the refit's own Catmull-Rom shift. Non-finite samples
// count as 0. Gives no delay for silence, a constant input or output, a capture too short for the
// search, an output that follows no delayed input, and a test signal that repeats within the range.
LatencyEstimate estimateLatency(const std::vector<double>& x, const std::vector<double>& y,
                                int largestLag = 512);

} // namespace estimation
