#pragma once

#include "estimation/SampleCells.h"

#include <cstdint>
#include <vector>

namespace estimation
{

// Where grid point i sits: the seed computes (2·i)/16383 - 1, the refinement passes i·(2/16383) - 1.
// The two can differ in the last bit, and each stage keeps its own.
enum class GridFormula
{
    Seed,
    Pass
};

double gridPosition(int i, GridFormula formula);

struct LocalLineFits
{
    std::vector<double> values;       // fitted line at each grid point, NaN where no fit
    std::vector<std::int32_t> counts; // samples with a weight above the floor
};

// Weighted local straight-line fits on the whole grid. A sample's weight for grid point g is
// (1 - u³)³ · q with u = |x - g| / bandwidth (q from the cells' weight factors); samples with u >= 1
// or a weight of at most 1e-10 are left out. Two or more samples give a line (or their weighted mean
// when the line is degenerate). The cells' moments must have been computed for this bandwidth.
//
// Cells well inside a window are summed through their moments; samples near a window's edges are
// weighted one by one, exactly as the rule states.
LocalLineFits fitLocalLines(const SampleCells& cells, double bandwidth, GridFormula formula);

} // namespace estimation
