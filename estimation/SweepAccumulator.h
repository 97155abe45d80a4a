#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace estimation
{

// Per grid point running sums of the sweeps that reach it, kept apart for rising and falling sweeps,
// so that a capture needs no bin vector per sweep. Values are added in sweep order.
class SweepAccumulator
{
public:
    SweepAccumulator();

    // Sums to which a sweep adds its values directly; it then counts them with countBlock.
    double* sums(bool rising) { return rising ? risingSum.data() : fallingSum.data(); }

    // Counts one value at every grid point lo..hi (nothing when lo > hi). Both marks fall inside
    // lo..hi, so threads that own disjoint ranges of the grid never touch the same entry.
    void countBlock(int lo, int hi, bool rising)
    {
        if (lo > hi)
            return;
        ++(rising ? risingStarts : fallingStarts)[static_cast<size_t>(lo)];
        ++(rising ? risingEnds : fallingEnds)[static_cast<size_t>(hi)];
    }

    // Mean of each group; both groups weigh equally where both are present; NaN where none is.
    std::vector<double> combined() const;

    // Mean of one direction alone; NaN where fewer than minimumSweeps of its sweeps reached.
    std::vector<double> directionMean(bool rising, int minimumSweeps = 1) const;

private:
    std::vector<double> risingSum, fallingSum;
    // Blocks counted by their ends: at i, the blocks started at or before i minus those ended before i.
    std::vector<std::int32_t> risingStarts, fallingStarts, risingEnds, fallingEnds;
};

} // namespace estimation
