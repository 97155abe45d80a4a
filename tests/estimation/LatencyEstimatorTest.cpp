#include "estimation/LatencyEstimator.h"
#include "TestSignals.h"
#include "estimation/FitReport.h"
#include "estimation/FractionalShift.h"
#include "estimation/TransferFunctionEstimator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <tuple>

using namespace estimation;
using namespace estimation_test;

namespace estimation_test
{
void PrintTo(const Device& device, std::ostream* os)
{
    *os << device.name;
}
} // namespace estimation_test

namespace
{
constexpr double pi = 3.14159265358979323846;
constexpr int captureLength = 32768;
constexpr double littleNoise = 0.005; // uniform, peak: about -51 dB RMS below full scale
// Pairs this far from either end are left out wherever a capture is aligned.
constexpr int alignmentMargin = 520;

// The device's input as a function of time in samples: three unrelated tones, so that the signal
// does not repeat within the ±512 samples searched.
double excitation(double t)
{
    const double w = 2.0 * pi / 48000.0;
    return 0.5 * std::sin(w * 97.3 * t) + 0.3 * std::sin(w * 231.7 * t + 1.0) +
           0.18 * std::sin(w * 413.9 * t + 2.0);
}

// X at every sample; Y = f(X(n - delay)) plus uniform noise of the given peak.
Capture delayedCapture(const Device& device, double delay, double noise, int length = captureLength)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    Capture c;
    for (int n = 0; n < length; ++n)
    {
        c.x.push_back(excitation(n));
        c.y.push_back(device.f(excitation(n - delay)) + noise * unit(rng));
    }
    return c;
}

// The pairs (X(n - delay), Y(n)) a refit with this latency fits, X delayed by the refit's shift.
Capture alignedBy(const Capture& c, double delay)
{
    const int whole = static_cast<int>(std::floor(delay));
    const double fraction = delay - whole;
    // X(n - delay) = X((n - whole - 1) + (1 - fraction)).
    const std::vector<double> shifted = fraction > 1e-9 ? shiftByFraction(c.x, 1.0 - fraction) : c.x;
    const int offset = fraction > 1e-9 ? whole + 1 : whole;
    Capture aligned;
    for (int n = alignmentMargin; n + alignmentMargin < static_cast<int>(c.x.size()); ++n)
    {
        aligned.x.push_back(shifted[static_cast<size_t>(n - offset)]);
        aligned.y.push_back(c.y[static_cast<size_t>(n)]);
    }
    return aligned;
}

// The same pairs with X exactly where the device saw it.
Capture exactlyAligned(const Capture& c, double delay)
{
    Capture aligned;
    for (int n = alignmentMargin; n + alignmentMargin < static_cast<int>(c.x.size()); ++n)
    {
        aligned.x.push_back(excitation(n - delay));
        aligned.y.push_back(c.y[static_cast<size_t>(n)]);
    }
    return aligned;
}

std::string number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", v);
    return text;
}

using DelayCase = std::tuple<Device, double, double>; // device, delay, noise

class LatencyOfMemorylessDevices : public ::testing::TestWithParam<DelayCase>
{
};
} // namespace

// The delay is found to a twentieth of a sample, whatever the curve, and a fit of the capture
// aligned by it matches the fit of the pairs as the device saw them.
TEST_P(LatencyOfMemorylessDevices, FindsTheDelayAndTheFitMatchesTheUndelayedOne)
{
    const auto& [device, delay, noise] = GetParam();
    const Capture capture = delayedCapture(device, delay, noise);

    const LatencyEstimate found = estimateLatency(capture.x, capture.y);
    ASSERT_TRUE(found.samples.has_value()) << found.message;
    EXPECT_NEAR(*found.samples, delay, 0.05);
    RecordProperty("error", number(*found.samples - delay));

    const Capture aligned = alignedBy(capture, *found.samples);
    const Capture exact = exactlyAligned(capture, delay);
    const auto fitted =
        estimateTransferFunction(aligned.x, aligned.y, BinCount, 50, EstimationMethod::OrthogonalFit);
    const auto truth =
        estimateTransferFunction(exact.x, exact.y, BinCount, 50, EstimationMethod::OrthogonalFit);
    ASSERT_TRUE(fitted.valid && truth.valid);
    // The tightest bound of the estimator's accuracy tests.
    const double difference = maxAbsDifference(fitted.smoothedBins, truth.smoothedBins);
    EXPECT_LE(difference, 6e-4);
    RecordProperty("fitDifference", number(difference));
}

INSTANTIATE_TEST_SUITE_P(Devices, LatencyOfMemorylessDevices,
                         ::testing::Combine(::testing::Values(tanhDevice(), hardClipDevice(),
                                                              asymmetricDevice(), rectifierDevice()),
                                            ::testing::Values(0.0, 12.0, 37.25, 300.5, -5.0),
                                            ::testing::Values(0.0, littleNoise)),
                         [](const auto& info)
                         {
                             const double delay = std::get<1>(info.param);
                             std::string name = std::get<0>(info.param).name + "_" +
                                                (delay < 0 ? "lead" : "lag") +
                                                std::to_string(static_cast<int>(std::abs(delay) * 100));
                             return name + (std::get<2>(info.param) > 0 ? "_noisy" : "");
                         });

namespace
{
struct NoneCase
{
    std::string name;
    std::function<double(int)> x, y;
    int length;
    const char* message;
};

void PrintTo(const NoneCase& c, std::ostream* os)
{
    *os << c.name;
}

class LatencyUndetermined : public ::testing::TestWithParam<NoneCase>
{
};

double unrelatedNoise(int n)
{
    // A fixed pseudo-random sequence that owes nothing to the excitation.
    return std::sin(12.9898 * n * n + 78.233 * n) * 0.5;
}
} // namespace

TEST_P(LatencyUndetermined, GivesNoDelayAndSaysWhy)
{
    const NoneCase& c = GetParam();
    std::vector<double> x, y;
    for (int n = 0; n < c.length; ++n)
    {
        x.push_back(c.x(n));
        y.push_back(c.y(n));
    }
    const LatencyEstimate e = estimateLatency(x, y);
    EXPECT_FALSE(e.samples.has_value()) << *e.samples;
    EXPECT_NE(e.message.find(c.message), std::string::npos) << e.message;
}

INSTANTIATE_TEST_SUITE_P(
    Captures, LatencyUndetermined,
    ::testing::Values(
        NoneCase{"silentOutput", excitation, [](int) { return 0.0; }, captureLength, "Y is silent"},
        NoneCase{"silentInput", [](int) { return 0.0; }, excitation, captureLength, "X is silent"},
        NoneCase{"constantDevice", excitation, [](int) { return 0.3; }, captureLength, "Y does not change"},
        NoneCase{"constantInput", [](int) { return 0.5; }, excitation, captureLength, "X does not change"},
        NoneCase{"tooShort", excitation, excitation, 2000, "the capture is too short: 2000 pairs"},
        NoneCase{"unrelatedOutput", excitation, unrelatedNoise, captureLength, "Y does not follow X"},
        // A 100 Hz sine repeats every 480 samples: 12 and 12 - 480 fit alike.
        NoneCase{"repeatingSignal", [](int n) { return std::sin(2.0 * pi * 100.0 * n / 48000.0); },
                 [](int n) { return std::tanh(2.0 * std::sin(2.0 * pi * 100.0 * (n - 12) / 48000.0)); },
                 captureLength, "the test signal repeats: delays of "}),
    [](const auto& info) { return info.param.name; });

// --- The fit report ---------------------------------------------------------------------------------

namespace
{
// A device as a process over the whole input, for devices with memory.
struct ProcessCase
{
    std::string name;
    std::function<std::vector<double>(const std::vector<double>&)> process;
    bool hasMemory;
};

void PrintTo(const ProcessCase& c, std::ostream* os)
{
    *os << c.name;
}

std::function<std::vector<double>(const std::vector<double>&)> memoryless(const Device& device, double noise)
{
    return [device, noise](const std::vector<double>& x)
    {
        std::mt19937 rng(11);
        std::uniform_real_distribution<double> unit(-1.0, 1.0);
        std::vector<double> y;
        for (double v : x)
            y.push_back(device.f(v) + noise * unit(rng));
        return y;
    };
}

// A one-pole low-pass at 300 Hz (48 kHz) before tanh: its phase lag opens the curve into a loop.
std::vector<double> lowPassThenTanh(const std::vector<double>& x)
{
    const double a = 1.0 - std::exp(-2.0 * pi * 300.0 / 48000.0);
    double state = 0.0;
    std::vector<double> y;
    for (double v : x)
    {
        state += a * (v - state);
        y.push_back(std::tanh(2.0 * state));
    }
    return y;
}

// Backlash of width 0.1: the output follows only once the input has moved 0.05 past it.
std::vector<double> backlash(const std::vector<double>& x)
{
    double position = 0.0;
    std::vector<double> y;
    for (double v : x)
    {
        position = std::clamp(position, v - 0.05, v + 0.05);
        y.push_back(position);
    }
    return y;
}

class FitReportDevices : public ::testing::TestWithParam<ProcessCase>
{
};
} // namespace

// As the probe's "analyze": the delay measured, the capture aligned by it, the report made.
TEST_P(FitReportDevices, WarnsOfMemoryOnlyWhereTheDeviceHasIt)
{
    const ProcessCase& c = GetParam();
    constexpr double delay = 37.25;
    std::vector<double> x, input;
    for (int n = 0; n < captureLength; ++n)
    {
        x.push_back(excitation(n));
        input.push_back(excitation(n - delay));
    }
    const Capture capture{x, c.process(input)};

    const LatencyEstimate latency = estimateLatency(capture.x, capture.y);
    ASSERT_TRUE(latency.samples.has_value()) << latency.message;
    const Capture aligned = alignedBy(capture, *latency.samples);
    const FitReport report = makeFitReport(aligned.x, aligned.y, latency);

    ASSERT_TRUE(report.valid) << report.message;
    EXPECT_EQ(report.memoryWarning, c.hasMemory) << report.directionGap;
    EXPECT_EQ(report.warning.empty(), !c.hasMemory);
    EXPECT_EQ(report.directionGap > memoryGapThreshold, c.hasMemory);
    RecordProperty("directionGap", number(report.directionGap));
    RecordProperty("latency", number(*latency.samples));
}

INSTANTIATE_TEST_SUITE_P(
    Devices, FitReportDevices,
    ::testing::Values(ProcessCase{"tanh", memoryless(tanhDevice(), 0.0), false},
                      ProcessCase{"tanhNoisy", memoryless(tanhDevice(), littleNoise), false},
                      // Twice the noise: about -45 dB RMS.
                      ProcessCase{"tanhNoisier", memoryless(tanhDevice(), 2.0 * littleNoise), false},
                      ProcessCase{"hardclip", memoryless(hardClipDevice(), 0.0), false},
                      ProcessCase{"hardclipNoisy", memoryless(hardClipDevice(), littleNoise), false},
                      ProcessCase{"asymmetric", memoryless(asymmetricDevice(), 0.0), false},
                      ProcessCase{"asymmetricNoisy", memoryless(asymmetricDevice(), littleNoise), false},
                      ProcessCase{"rectifier", memoryless(rectifierDevice(), 0.0), false},
                      ProcessCase{"rectifierNoisy", memoryless(rectifierDevice(), littleNoise), false},
                      ProcessCase{"lowPassThenTanh", lowPassThenTanh, true},
                      ProcessCase{"backlash", backlash, true}),
    [](const auto& info) { return info.param.name; });

TEST(FitReport, DescribesTheDrivenRangeAndTheResidual)
{
    // X from -0.5 to 1 of its peak: a quarter of the grid is never reached.
    constexpr double noise = 0.02;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<double> x, y;
    for (int n = 0; n < captureLength; ++n)
    {
        x.push_back(0.25 + 0.75 * std::sin(2.0 * pi * n / 480.0));
        y.push_back(std::tanh(x.back()) + noise * unit(rng));
    }
    const FitReport report = makeFitReport(x, y, {});
    ASSERT_TRUE(report.valid);
    EXPECT_NEAR(report.xMin, -0.5, 1e-3);
    EXPECT_DOUBLE_EQ(report.xMax, 1.0);
    EXPECT_NEAR(report.coverage, 0.75, 1e-3);
    // Uniform noise of peak 0.02 has an RMS of 0.02 / sqrt(3), in units of Y's peak.
    double yPeak = 0.0;
    for (double v : y)
        yPeak = std::max(yPeak, std::abs(v));
    const double expected = noise / std::sqrt(3.0) / yPeak;
    EXPECT_NEAR(report.residual, expected, 0.05 * expected);
    EXPECT_FALSE(report.residualAboutFit);

    // About a given curve: one that passes through every pair leaves nothing, also between the grid
    // points; a flat zero leaves y's own RMS.
    std::vector<double> line(BinCount);
    for (int i = 0; i < BinCount; ++i)
        line[static_cast<size_t>(i)] = (0.5 * gridX(i) + 0.25) / 0.75; // y scaled to its peak, 0.75
    std::vector<double> onTheLine;
    for (double v : x)
        onTheLine.push_back(0.5 * v + 0.25);
    EXPECT_LT(makeFitReport(x, onTheLine, {}, line).residual, 1e-12);

    const FitReport aboutZero = makeFitReport(x, y, {}, std::vector<double>(BinCount, 0.0));
    EXPECT_TRUE(aboutZero.residualAboutFit);
    double sumSquares = 0.0;
    for (double v : y)
        sumSquares += (v / yPeak) * (v / yPeak);
    EXPECT_NEAR(aboutZero.residual, std::sqrt(sumSquares / y.size()), 1e-9);

    const FitReport silent = makeFitReport(x, std::vector<double>(x.size(), 0.0), {});
    EXPECT_FALSE(silent.valid);
    EXPECT_EQ(silent.message, "Y is silent");
}
