#pragma once

#include <vector>

namespace estimation
{

// The one smoothing rule of the product: Savitzky-Golay filtering (smoothing > 1), a half-entry
// shift and normalisation to a largest magnitude of 1. Same length out as in; empty stays empty.
std::vector<double> smoothBins(const std::vector<double>& rawBins, int smoothing);

// Savitzky-Golay smoothing with an odd window (order 3, or 2 for a 3-entry window), reflecting about
// the end samples.
std::vector<double> savitzkyGolaySmooth(const std::vector<double>& v, int window);

// Smoothing coefficients for an odd window of at least 3 entries; empty if the normal matrix is
// singular.
std::vector<double> savitzkyGolayCoefficients(int window, int order);

// Catmull-Rom interpolation half an entry back, which moves the curve half an entry toward higher
// indices; the two entries at each end keep their values.
std::vector<double> shiftHalfBin(const std::vector<double>& t);

} // namespace estimation
