#pragma once

#include <vector>

namespace estimation
{

// Number of points of the transfer-function grid shared by the table and every estimate.
inline constexpr int BinCount = 16384;

// Position of grid point i; exactly -1 at 0 and exactly +1 at BinCount - 1.
inline double gridX(int i)
{
    return -1.0 + 2.0 * i / (BinCount - 1);
}

enum class EstimationMethod
{
    OrthogonalFit,
    SweepMean
};

struct TransferFunctionEstimate
{
    std::vector<double> rawBins;
    std::vector<double> smoothedBins;
    bool valid = false;
};

} // namespace estimation
