// Timing of both estimators and of the smoothing step, each beside the literal reference in the same
// run. The capture: a 100 Hz sine at 48 kHz, full scale, through tanh, with a little noise on y; and
// for ODRFivePasses the same sine through clamp(40 x), which keeps the fit refining to its last pass.

#include "AllocationCounter.h"
#include "estimation/BinSmoothing.h"
#include "estimation/ExecutionSettings.h"
#include "estimation/FitReport.h"
#include "estimation/LatencyEstimator.h"
#include "estimation/TransferFunctionEstimator.h"
#include "literal/LiteralEstimator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

namespace
{

using estimation::EstimationMethod;
using estimation_bench::AllocationCounter;

struct Capture
{
    std::vector<double> x, y;
};

double tanhDevice(double x)
{
    return std::tanh(x);
}

// Steep enough that an ODR fit runs all five refinement passes.
double steepClipDevice(double x)
{
    return std::clamp(40.0 * x, -1.0, 1.0);
}

Capture sineThrough(int pairs, double (*device)(double))
{
    const double pi = 3.14159265358979323846;
    std::mt19937 rng(12345);
    std::normal_distribution<double> noise(0.0, 1e-3);
    Capture c;
    c.x.resize(static_cast<size_t>(pairs));
    c.y.resize(static_cast<size_t>(pairs));
    for (int k = 0; k < pairs; ++k)
    {
        const double x = std::sin(2.0 * pi * 100.0 * k / 48000.0);
        c.x[static_cast<size_t>(k)] = x;
        c.y[static_cast<size_t>(k)] = device(x) + noise(rng);
    }
    return c;
}

// Peak heap bytes added while one estimate runs.
template <typename Estimate>
double peakExtraBytes(Estimate&& estimate)
{
    const size_t before = AllocationCounter::currentBytes();
    AllocationCounter::resetPeak();
    estimate();
    return static_cast<double>(AllocationCounter::peakBytes() - before);
}

template <bool Literal>
void estimateBench(benchmark::State& state, EstimationMethod method, double (*device)(double) = tanhDevice)
{
    const Capture c = sineThrough(static_cast<int>(state.range(0)), device);
    auto run = [&]
    {
        if constexpr (Literal)
            return estimation_literal::estimateTransferFunction(c.x, c.y, 16384, 50, method);
        else
            return estimation::estimateTransferFunction(c.x, c.y, 16384, 50, method);
    };
    for (auto _ : state)
    {
        auto result = run();
        benchmark::DoNotOptimize(result.smoothedBins.data());
    }
    state.counters["peak_MiB"] =
        peakExtraBytes([&] { benchmark::DoNotOptimize(run().valid); }) / (1024.0 * 1024.0);
}

void ODR(benchmark::State& state)
{
    estimateBench<false>(state, EstimationMethod::OrthogonalFit);
}
void ODRFivePasses(benchmark::State& state)
{
    estimateBench<false>(state, EstimationMethod::OrthogonalFit, steepClipDevice);
}
void ODRLiteral(benchmark::State& state)
{
    estimateBench<true>(state, EstimationMethod::OrthogonalFit);
}
void Mean(benchmark::State& state)
{
    estimateBench<false>(state, EstimationMethod::SweepMean);
}
void MeanLiteral(benchmark::State& state)
{
    estimateBench<true>(state, EstimationMethod::SweepMean);
}

// Three unrelated tones through tanh, Y delayed by 37.25 samples: a capture whose delay the search
// finds and refines, as opposed to a repeating sine, which it gives up on early.
Capture delayedTones(int pairs)
{
    const double w = 2.0 * 3.14159265358979323846 / 48000.0;
    const auto tones = [w](double t)
    {
        return 0.5 * std::sin(w * 97.3 * t) + 0.3 * std::sin(w * 231.7 * t + 1.0) +
               0.18 * std::sin(w * 413.9 * t + 2.0);
    };
    std::mt19937 rng(12345);
    std::normal_distribution<double> noise(0.0, 1e-3);
    Capture c;
    for (int k = 0; k < pairs; ++k)
    {
        c.x.push_back(tones(k));
        c.y.push_back(std::tanh(2.0 * tones(k - 37.25)) + noise(rng));
    }
    return c;
}

void LatencyEstimate(benchmark::State& state)
{
    const Capture c = delayedTones(static_cast<int>(state.range(0)));
    double found = 0.0;
    for (auto _ : state)
    {
        const auto estimate = estimation::estimateLatency(c.x, c.y, 512);
        found = estimate.samples.value_or(-1.0);
        benchmark::DoNotOptimize(found);
    }
    state.counters["delay"] = found;
}

void FitReport(benchmark::State& state)
{
    const Capture c = delayedTones(static_cast<int>(state.range(0)));
    for (auto _ : state)
    {
        const auto report = estimation::makeFitReport(c.x, c.y, {});
        benchmark::DoNotOptimize(report.directionGap);
    }
}

template <bool Literal>
void smoothBench(benchmark::State& state)
{
    const Capture c = sineThrough(16384, tanhDevice);
    const std::vector<double>& raw = c.y; // any 16384-entry curve with a little noise will do
    const int window = static_cast<int>(state.range(0));
    for (auto _ : state)
    {
        auto out =
            Literal ? estimation_literal::smoothBins(raw, window) : estimation::smoothBins(raw, window);
        benchmark::DoNotOptimize(out.data());
    }
}

void SmoothBins(benchmark::State& state)
{
    smoothBench<false>(state);
}
void SmoothBinsLiteral(benchmark::State& state)
{
    smoothBench<true>(state);
}

void pairCounts(benchmark::internal::Benchmark* b)
{
    for (int pairs : {16384, 32768, 65536, 131072})
        b->Arg(pairs);
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

void windows(benchmark::internal::Benchmark* b)
{
    for (int window : {3, 51, 99})
        b->Arg(window);
    b->Unit(benchmark::kMicrosecond)->UseRealTime();
}

} // namespace

BENCHMARK(ODR)->Apply(pairCounts);
BENCHMARK(ODRFivePasses)->Apply(pairCounts);
BENCHMARK(ODRLiteral)->Apply(pairCounts);
BENCHMARK(Mean)->Apply(pairCounts);
BENCHMARK(MeanLiteral)->Apply(pairCounts);
BENCHMARK(SmoothBins)->Apply(windows);
BENCHMARK(LatencyEstimate)->Apply(pairCounts);
BENCHMARK(FitReport)->Apply(pairCounts);
BENCHMARK(SmoothBinsLiteral)->Apply(windows);

int main(int argc, char** argv)
{
    // ESTIMATION_BENCH_THREADS=1 times the single-threaded path.
    if (const char* threads = std::getenv("ESTIMATION_BENCH_THREADS"))
        estimation::setExecutionSettings({std::atoi(threads), true});
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
