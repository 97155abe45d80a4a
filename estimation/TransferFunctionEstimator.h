#pragma once

#include "estimation/EstimationTypes.h"

#include <vector>

namespace estimation
{

// Turns one capture of (x, y) sample pairs into a curve on the BinCount grid. Pairs with a NaN or an
// infinity in either coordinate are left out; x and y are then each scaled to a peak magnitude of 1.
// Invalid (both vectors empty, failure saying why) for unequal lengths, or when no pair is left, the
// pairs left have an all-zero x or y. tableSize is accepted for the caller's sake; the grid always has
// BinCount points.
TransferFunctionEstimate estimateTransferFunction(const std::vector<double>& x, const std::vector<double>& y,
                                                  int tableSize, int smoothing, EstimationMethod method);

// v divided by its largest magnitude (NaN never counts as largest); empty when v is empty or all zero.
std::vector<double> normaliseToPeak(const std::vector<double>& v);

} // namespace estimation
