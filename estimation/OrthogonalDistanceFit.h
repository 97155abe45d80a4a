#pragma once

#include "estimation/EstimationTypes.h"

#include <cstdint>
#include <vector>

namespace estimation
{

// Samples are passed as two equal-length vectors (x[k], y[k]); their order does not matter here.
struct SeedFit
{
    std::vector<double> values;       // local-line value per grid point, NaN where no fit
    std::vector<std::int32_t> counts; // samples with a tricube weight above the floor
};

struct RefinedFit
{
    std::vector<double> values; // NaN where no sample ever gave this grid point a fit
    int passes = 0;             // refinement passes run after the seed (0 when the seed had no value)
};

// Local straight lines with tricube weights; the bandwidth is limited to 0.02..0.5.
SeedFit seedLocalLinear(const std::vector<double>& x, const std::vector<double>& y, double bandwidth);

// Seed, then up to five passes that also divide each sample's weight by 1 + slope² (slope of the
// previous curve at the sample, limited to ±10), until no grid point moves by tolerance or more.
RefinedFit refineOrthogonal(const std::vector<double>& x, const std::vector<double>& y, double bandwidth,
                            double tolerance);

// The "ODR" estimate of peak-normalised samples; falls back to the binned mean when nothing fits.
TransferFunctionEstimate fitOrthogonalDistance(const std::vector<double>& x, const std::vector<double>& y,
                                               int smoothing);

} // namespace estimation
