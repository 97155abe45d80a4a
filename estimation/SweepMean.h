#pragma once

#include "estimation/EstimationTypes.h"
#include "estimation/SweepAccumulator.h"

#include <cstdint>
#include <vector>

namespace estimation
{

// One monotonic run of x (inclusive sample indices).
struct Sweep
{
    std::int64_t first = 0;
    std::int64_t last = 0;
    bool rising = false;
    double xMin = 0.0;
    double xMax = 0.0;
};

// Splits x into monotonic runs; steps within ±deadband never change direction, a turning sample ends
// one run and starts the next, and a flat start belongs to the first run.
std::vector<Sweep> findSweeps(const std::vector<double>& x, int minimumLength = 2, double deadband = 1e-4);

// Adds the sweep's piecewise-linear y at every grid point in [gridBegin, gridEnd) that lies within the
// sweep's x range, taking for each point the first interval of the sweep that brackets it.
void resampleSweep(const std::vector<double>& x, const std::vector<double>& y, const Sweep& sweep,
                   SweepAccumulator& accumulator, int gridBegin = 0, int gridEnd = BinCount);

// Bin vector of the accumulated sweeps (NaN where no sweep reached).
std::vector<double> combineSweeps(const SweepAccumulator& accumulator);

// The "Mean" estimate of peak-normalised samples; hands over to the orthogonal fit when the capture
// has no usable sweep.
TransferFunctionEstimate fitSweepMean(const std::vector<double>& x, const std::vector<double>& y,
                                      int smoothing);

} // namespace estimation
