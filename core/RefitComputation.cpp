#include "core/RefitComputation.h"

#include "core/TransferFunctionTable.h"
#include "estimation/LatencyEstimator.h"

namespace RefitComputation
{
Answer run(const Input& input, const Estimator& estimate) noexcept
{
    Answer answer;
    try
    {
        answer.estimate =
            estimate(input.x, input.y, TransferFunctionTable::size, input.smoothing, input.method);
    }
    catch (...)
    {
        answer.estimate =
            estimation::TransferFunctionEstimate::failed(estimation::EstimateFailure::outOfMemory);
    }
    try
    {
        // The residual is taken about the unsmoothed curve, which is read here, not moved.
        static const std::vector<double> noCurve;
        answer.outcome.report = estimation::makeFitReport(
            input.x, input.y, estimation::estimateLatency(input.capturedX, input.capturedY),
            answer.estimate.valid ? answer.estimate.rawBins : noCurve);
    }
    catch (...)
    {
        // A curve without its report is still a curve.
        answer.outcome.report = {};
        answer.outcome.report.message = "there was no memory left for the report";
    }
    answer.outcome.valid = answer.estimate.valid;
    answer.outcome.failure = answer.estimate.failure;
    answer.outcome.latencyX = input.latencyX;
    answer.outcome.latencyY = input.latencyY;
    return answer;
}

Answer withoutPairs(double latencyX, double latencyY)
{
    Answer answer;
    answer.estimate = estimation::TransferFunctionEstimate::failed(estimation::EstimateFailure::tooFewPairs);
    answer.outcome.failure = estimation::EstimateFailure::tooFewPairs;
    answer.outcome.report.message = "the latencies leave no pairs";
    answer.outcome.latencyX = latencyX;
    answer.outcome.latencyY = latencyY;
    return answer;
}
} // namespace RefitComputation
