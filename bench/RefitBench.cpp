// The cost of one refit as the processor runs it: the worker's share (estimate, measured delay and
// report of 131072 pairs, both methods) and the message thread's share, both when the refit starts
// (aligning the capture and copying it for the worker) and when the answer arrives (the table
// written, the outcome handed over). The capture: two tones through tanh, Y three samples late, with
// a little noise, as a user measures a device.

#include "core/FitOutcome.h"
#include "core/LatencyAlignment.h"
#include "core/RefitComputation.h"
#include "core/TransferFunctionTable.h"
#include "estimation/TransferFunctionEstimator.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace
{
constexpr int delaySamples = 3;

struct Snapshot
{
    std::vector<double> x, y;
};

Snapshot twoTonesThroughTanh(int pairs)
{
    const double pi = 3.14159265358979323846;
    std::mt19937 rng(2024);
    std::normal_distribution<double> noise(0.0, 1e-3);
    Snapshot s;
    auto input = [&](int k)
    { return 0.6 * std::sin(2 * pi * 73.0 * k / 48000.0) + 0.35 * std::sin(2 * pi * 11.0 * k / 48000.0); };
    for (int k = 0; k < pairs; ++k)
    {
        s.x.push_back(input(k));
        s.y.push_back(std::tanh(2.0 * input(k - delaySamples)) + noise(rng));
    }
    return s;
}

RefitComputation::Input workerInput(const Snapshot& s, estimation::EstimationMethod method)
{
    auto aligned = LatencyAlignment::alignCapture(s.x, s.y, (int) s.x.size(), delaySamples, 0.0);
    RefitComputation::Input input;
    input.x = std::move(aligned->x);
    input.y = std::move(aligned->y);
    input.capturedX = s.x;
    input.capturedY = s.y;
    input.smoothing = 50;
    input.method = method;
    input.latencyX = delaySamples;
    return input;
}

void workerShare(benchmark::State& state, estimation::EstimationMethod method)
{
    const auto input = workerInput(twoTonesThroughTanh((int) state.range(0)), method);
    for (auto _ : state)
    {
        auto answer = RefitComputation::run(input, estimation::estimateTransferFunction);
        benchmark::DoNotOptimize(answer.outcome.report.residual);
    }
}

void RefitWorkerODR(benchmark::State& state)
{
    workerShare(state, estimation::EstimationMethod::OrthogonalFit);
}

void RefitWorkerMean(benchmark::State& state)
{
    workerShare(state, estimation::EstimationMethod::SweepMean);
}

// What the message thread does before the worker starts: align by the latencies in use and copy
// the newest pairs for the delay measurement.
void RefitStartOnMessageThread(benchmark::State& state)
{
    const auto s = twoTonesThroughTanh((int) state.range(0));
    for (auto _ : state)
    {
        auto input = workerInput(s, estimation::EstimationMethod::OrthogonalFit);
        benchmark::DoNotOptimize(input.x.data());
    }
}

// What the message thread does when the answer arrives: the raw bins and the outcome are moved, the
// smoothed curve is written into the table, and the window copies the outcome to show it.
void AnswerArrivalOnMessageThread(benchmark::State& state)
{
    const auto answer = RefitComputation::run(
        workerInput(twoTonesThroughTanh((int) state.range(0)), estimation::EstimationMethod::SweepMean),
        estimation::estimateTransferFunction);
    auto table = std::make_unique<TransferFunctionTable>();
    for (auto _ : state)
    {
        state.PauseTiming();
        auto arrived = answer;
        state.ResumeTiming();
        auto rawBins = std::move(arrived.estimate.rawBins);
        table->store(arrived.estimate.smoothedBins);
        FitOutcome kept = std::move(arrived.outcome);
        FitOutcome shown = kept;
        benchmark::DoNotOptimize(rawBins.data());
        benchmark::DoNotOptimize(shown.report.residual);
    }
}
} // namespace

BENCHMARK(RefitWorkerODR)->Arg(131072)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(RefitWorkerMean)->Arg(131072)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(RefitStartOnMessageThread)->Arg(131072)->Unit(benchmark::kMicrosecond);
BENCHMARK(AnswerArrivalOnMessageThread)->Arg(131072)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
