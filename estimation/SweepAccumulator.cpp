#include "estimation/SweepAccumulator.h"

#include "estimation/EstimationTypes.h"

#include <limits>

namespace estimation
{

SweepAccumulator::SweepAccumulator()
    : risingSum(BinCount, 0.0)
    , fallingSum(BinCount, 0.0)
    , risingStarts(BinCount, 0)
    , fallingStarts(BinCount, 0)
    , risingEnds(BinCount, 0)
    , fallingEnds(BinCount, 0)
{
}

std::vector<double> SweepAccumulator::combined() const
{
    std::vector<double> out(BinCount, std::numeric_limits<double>::quiet_NaN());
    std::int32_t rising = 0, falling = 0;
    for (size_t i = 0; i < out.size(); ++i)
    {
        rising += risingStarts[i];
        falling += fallingStarts[i];
        const double risingMean = rising > 0 ? risingSum[i] / rising : 0.0;
        const double fallingMean = falling > 0 ? fallingSum[i] / falling : 0.0;
        if (rising > 0 && falling > 0)
            out[i] = (fallingMean + risingMean) * 0.5;
        else if (rising > 0)
            out[i] = risingMean;
        else if (falling > 0)
            out[i] = fallingMean;
        rising -= risingEnds[i];
        falling -= fallingEnds[i];
    }
    return out;
}

std::vector<double> SweepAccumulator::directionMean(bool rising, int minimumSweeps) const
{
    const auto& sum = rising ? risingSum : fallingSum;
    const auto& starts = rising ? risingStarts : fallingStarts;
    const auto& ends = rising ? risingEnds : fallingEnds;
    std::vector<double> out(BinCount, std::numeric_limits<double>::quiet_NaN());
    std::int32_t count = 0;
    for (size_t i = 0; i < out.size(); ++i)
    {
        count += starts[i];
        if (count > 0 && count >= minimumSweeps)
            out[i] = sum[i] / count;
        count -= ends[i];
    }
    return out;
}

} // namespace estimation
