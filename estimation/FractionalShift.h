#pragma once

#include <cstddef>
#include <vector>

namespace estimation
{

// v moved forward by fraction (0..1) of a sample: out[j] = v(j + fraction) by four-point Catmull-Rom
// interpolation; the two entries at each end are copied unchanged. The refit's latency alignment and
// the latency estimate both shift X this way, so a measured delay is the one the refit compensates.
std::vector<double> shiftByFraction(const std::vector<double>& v, double fraction);

// The same for n samples at in, written to out (n entries, not overlapping in).
void shiftByFraction(const double* in, std::size_t n, double fraction, double* out);

} // namespace estimation
