#pragma once

#include "estimation/EstimationTypes.h"

#include <vector>

namespace estimation
{

// Fills the NaN holes of a bin vector: straight lines between known entries, the outermost step
// continued linearly past the first and last known entries (unclamped). No known entry gives zeros,
// a single one gives a constant.
std::vector<double> fillBinGaps(const std::vector<double>& values);

// The two steps that end every estimator: the gaps of values filled (rawBins), then smoothed and
// peak-normalised (smoothedBins). Always valid.
TransferFunctionEstimate finishEstimate(const std::vector<double>& values, int smoothing);

} // namespace estimation
