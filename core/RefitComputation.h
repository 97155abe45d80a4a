#pragma once

#include "core/FitOutcome.h"
#include "estimation/EstimationTypes.h"

#include <functional>
#include <vector>

// The work of one refit, done on the worker thread: the estimate of the aligned pairs, the delay of Y
// against X measured on the same pairs before alignment, and the report on the aligned pairs.
namespace RefitComputation
{
struct Input
{
    std::vector<double> x, y;                 // aligned by the latencies in use
    std::vector<double> capturedX, capturedY; // the same newest pairs, before alignment
    int smoothing = 1;
    estimation::EstimationMethod method = estimation::EstimationMethod::OrthogonalFit;
    double latencyX = 0.0, latencyY = 0.0;
};

struct Answer
{
    estimation::TransferFunctionEstimate estimate;
    FitOutcome outcome;
};

using Estimator = std::function<estimation::TransferFunctionEstimate(
    const std::vector<double>& x, const std::vector<double>& y, int tableSize, int smoothing,
    estimation::EstimationMethod method)>;

// Never throws: an estimator that fails (out of memory) gives an invalid estimate.
Answer run(const Input& input, const Estimator& estimate) noexcept;

// An answer for a refit that had no pairs to estimate from.
Answer withoutPairs(double latencyX, double latencyY);
} // namespace RefitComputation
