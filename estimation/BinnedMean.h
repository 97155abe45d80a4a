#pragma once

#include "estimation/EstimationTypes.h"

#include <vector>

namespace estimation
{

// Last-resort estimate: the mean y of the samples whose x falls into each grid cell, gaps filled and
// smoothed. Always valid (all zeros when no sample lands anywhere). Samples with NaN x are ignored.
TransferFunctionEstimate fitBinnedMean(const std::vector<double>& x, const std::vector<double>& y,
                                       int smoothing);

} // namespace estimation
