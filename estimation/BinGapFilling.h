#pragma once

#include <vector>

namespace estimation
{

// Fills the NaN holes of a bin vector: straight lines between known entries, the outermost step
// continued linearly past the first and last known entries (unclamped). No known entry gives zeros,
// a single one gives a constant.
std::vector<double> fillBinGaps(const std::vector<double>& values);

} // namespace estimation
