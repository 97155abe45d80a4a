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

// Why a capture gave no curve; the window and the command-line probe tell the user in their words.
enum class EstimateFailure
{
    none,
    mismatchedLengths, // X and Y of different lengths: a caller's fault, never a capture's
    noFinitePair,      // every pair holds a NaN or an infinity
    xSilent,           // X is zero in every whole pair
    ySilent,           // Y is zero in every whole pair
    tooFewPairs,       // the latencies leave no pair of the capture to estimate from
    outOfMemory        // the estimate could not be finished
};

struct TransferFunctionEstimate
{
    std::vector<double> rawBins;
    std::vector<double> smoothedBins;
    bool valid = false;
    EstimateFailure failure = EstimateFailure::none; // set when not valid

    static TransferFunctionEstimate failed(EstimateFailure reason)
    {
        TransferFunctionEstimate estimate;
        estimate.failure = reason;
        return estimate;
    }
};

} // namespace estimation
