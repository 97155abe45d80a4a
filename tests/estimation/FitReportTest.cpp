#include "estimation/FitReport.h"
#include "TestSignals.h"
#include "estimation/LatencyEstimator.h"
#include "estimation/TransferFunctionEstimator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <random>
#include <tuple>

using namespace estimation;
using namespace estimation_test;

namespace
{
constexpr double pi = 3.14159265358979323846;
constexpr int captureLength = 32768;
constexpr double littleNoise = 0.005; // uniform, peak: about -51 dB RMS below full scale

using Process = std::function<std::vector<double>(const std::vector<double>&)>;

// A device as a process over the whole input, for devices with memory.
struct ProcessCase
{
    std::string name;
    Process process;
    bool hasMemory;
};

void PrintTo(const ProcessCase& c, std::ostream* os)
{
    *os << c.name;
}

Process memoryless(const Device& device, double noise)
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

// A one-pole low-pass at the given corner (48 kHz) before tanh: its phase lag opens the curve into a
// loop.
Process lowPassThenTanh(double cornerHz)
{
    return [cornerHz](const std::vector<double>& x)
    {
        const double a = 1.0 - std::exp(-2.0 * pi * cornerHz / 48000.0);
        double state = 0.0;
        std::vector<double> y;
        for (double v : x)
        {
            state += a * (v - state);
            y.push_back(std::tanh(2.0 * state));
        }
        return y;
    };
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
        x.push_back(threeTones(n));
        input.push_back(threeTones(n - delay));
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
                      ProcessCase{"lowPassThenTanh", lowPassThenTanh(300.0), true},
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

    // The residual's correlation from pair to pair is taken about its mean: a constant with white
    // noise on it is white, a slow sine is smooth.
    std::vector<double> offsetNoise, slowSine;
    for (int n = 0; n < captureLength; ++n)
    {
        offsetNoise.push_back(0.5 + 0.1 * unit(rng));
        slowSine.push_back(std::sin(2.0 * pi * n / 480.0));
    }
    const std::vector<double> zero(BinCount, 0.0);
    EXPECT_LT(std::abs(makeFitReport(x, offsetNoise, {}, zero).residualCorrelation), 0.03);
    EXPECT_NEAR(makeFitReport(x, slowSine, {}, zero).residualCorrelation, std::cos(2.0 * pi / 480.0), 1e-3);

    const FitReport silent = makeFitReport(x, std::vector<double>(x.size(), 0.0), {});
    EXPECT_FALSE(silent.valid);
    EXPECT_EQ(silent.message, "Y is silent");
}

// --- Memory that the latency search cannot hide --------------------------------------------------

namespace
{
// A test signal as the device sees it: s(n - delay) for n = 0 .. length - 1.
using Signal = std::function<std::vector<double>(int length, double delay)>;

Signal sampled(std::function<double(double)> s)
{
    return [s](int length, double delay)
    {
        std::vector<double> v;
        for (int n = 0; n < length; ++n)
            v.push_back(s(n - delay));
        return v;
    };
}

// 73 Hz and 11 Hz: a test signal that lies almost wholly in the pass band of a low-pass at 40 Hz.
double lowTones(double t)
{
    const double w = 2.0 * pi / 48000.0;
    return 0.5 * std::sin(w * 73.0 * t) + 0.5 * std::sin(w * 11.0 * t + 1.5);
}

// A logarithmic sine sweep from 20 Hz to 5 kHz over the whole capture. Above that, fewer than ten
// samples a period, the fractional alignment's interpolation loses its accuracy.
Signal sweep()
{
    return [](int length, double delay)
    {
        const double rate = std::log(5000.0 / 20.0) / length;
        const double start = 2.0 * pi * 20.0 / 48000.0;
        std::vector<double> v;
        for (int n = 0; n < length; ++n)
            v.push_back(0.9 * std::sin(start / rate * (std::exp(rate * (n - delay)) - 1.0)));
        return v;
    };
}

// Speech-like noise: 96 partials at random frequencies from 80 Hz to 8 kHz, falling by 6 dB an
// octave above 500 Hz, under a syllable envelope of 4 Hz. A sum of sines, so that a fractional delay
// of it is exact.
Signal speechLikeNoise()
{
    return [](int length, double delay)
    {
        std::mt19937 rng(5);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        std::vector<std::complex<double>> phasors, steps;
        std::vector<double> amplitudes;
        double power = 0.0;
        for (int j = 0; j < 96; ++j)
        {
            const double hz = 80.0 * std::pow(100.0, unit(rng));
            const double w = 2.0 * pi * hz / 48000.0;
            amplitudes.push_back(1.0 / (1.0 + hz / 500.0));
            power += 0.5 * amplitudes.back() * amplitudes.back();
            phasors.push_back(std::polar(1.0, 2.0 * pi * unit(rng) - w * delay));
            steps.push_back(std::polar(1.0, w));
        }
        const double scale = 0.3 / std::sqrt(power);
        std::vector<double> v;
        for (int n = 0; n < length; ++n)
        {
            double sum = 0.0;
            for (size_t j = 0; j < phasors.size(); ++j)
            {
                sum += amplitudes[j] * phasors[j].imag();
                phasors[j] *= steps[j];
            }
            const double envelope = 0.2 + 0.8 * std::abs(std::sin(pi * 4.0 * (n - delay) / 48000.0));
            v.push_back(scale * envelope * sum);
        }
        return v;
    };
}

// Hysteresis: tanh of the mean of five play operators (backlash) of half-widths 0.02 to 0.1.
std::vector<double> hysteresis(const std::vector<double>& x)
{
    double positions[5] = {};
    std::vector<double> y;
    for (double v : x)
    {
        double sum = 0.0;
        for (int j = 0; j < 5; ++j)
        {
            const double halfWidth = 0.02 * (j + 1);
            positions[j] = std::clamp(positions[j], v - halfWidth, v + halfWidth);
            sum += positions[j];
        }
        y.push_back(std::tanh(2.0 * sum / 5.0));
    }
    return y;
}

// Uniform noise of -50 dB RMS against full scale.
const double noiseAtMinus50dB = std::sqrt(3.0) * std::pow(10.0, -50.0 / 20.0);

// The device's output with that noise added.
Process withNoise(Process device)
{
    return [device](const std::vector<double>& x)
    {
        std::vector<double> y = device(x);
        std::mt19937 rng(13);
        std::uniform_real_distribution<double> unit(-1.0, 1.0);
        for (double& v : y)
            v += noiseAtMinus50dB * unit(rng);
        return y;
    };
}

struct MemoryCase
{
    std::string name;
    Signal signal;
    Process device;
    double delay;
    bool hasMemory;
};

void PrintTo(const MemoryCase& c, std::ostream* os)
{
    *os << c.name;
}

using MemoryParameters = std::tuple<MemoryCase, int>; // the case, the capture length

std::vector<MemoryCase> memoryCases()
{
    std::vector<MemoryCase> cases{
        {"lowPass40ThenTanh", sampled(lowTones), withNoise(lowPassThenTanh(40.0)), 37.25, true},
        {"lowPass150ThenTanh", sampled(lowTones), withNoise(lowPassThenTanh(150.0)), 37.25, true},
        {"backlash", sampled(threeTones), withNoise(backlash), 37.25, true},
        {"hysteresis", sampled(threeTones), withNoise(hysteresis), 37.25, true},
    };
    const std::pair<const char*, Signal> signals[] = {
        {"Tones", sampled(threeTones)}, {"Sweep", sweep()}, {"Speech", speechLikeNoise()}};
    for (const Device& device : {tanhDevice(), hardClipDevice(), asymmetricDevice()})
        for (const auto& [signalName, signal] : signals)
            for (const double delay : {12.0, 37.25})
                cases.push_back({device.name + signalName + (delay == 12.0 ? "Lag12" : "Lag3725"), signal,
                                 memoryless(device, noiseAtMinus50dB), delay, false});
    // Without noise, what is left is smooth but small: the fit's own error and the alignment's.
    for (const Device& device : {tanhDevice(), hardClipDevice(), asymmetricDevice()})
        cases.push_back(
            {device.name + "TonesLag3725Clean", sampled(threeTones), memoryless(device, 0.0), 37.25, false});
    return cases;
}

class MemoryWarning : public ::testing::TestWithParam<MemoryParameters>
{
};
} // namespace

// As the processor and the probe do: the delay measured, the capture aligned by it, the report made,
// about the capture's own mean curve ("analyze") and about the raw bins of either fit ("fit --report"
// and the window).
TEST_P(MemoryWarning, FlagsEveryDeviceWithMemoryAndNoMemorylessOne)
{
    const auto& [c, length] = GetParam();
    const Capture capture{c.signal(length, 0.0), c.device(c.signal(length, c.delay))};

    const LatencyEstimate latency = estimateLatency(capture.x, capture.y);
    ASSERT_TRUE(latency.samples.has_value()) << latency.message;
    const Capture aligned = alignedBy(capture, *latency.samples);

    const std::pair<const char*, std::vector<double>> curves[] = {
        {"captureMean", {}},
        {"meanFit",
         estimateTransferFunction(aligned.x, aligned.y, BinCount, 50, EstimationMethod::SweepMean).rawBins},
        {"odrFit",
         estimateTransferFunction(aligned.x, aligned.y, BinCount, 50, EstimationMethod::OrthogonalFit)
             .rawBins}};
    for (const auto& [curveName, curve] : curves)
    {
        const FitReport report = makeFitReport(aligned.x, aligned.y, latency, curve);
        ASSERT_TRUE(report.valid) << report.message;
        ASSERT_EQ(report.residualAboutFit, !curve.empty());
        const std::string figures = "gap " + number(report.directionGap) + ", residual " +
                                    number(20.0 * std::log10(report.residual)) + " dB, correlation " +
                                    number(report.residualCorrelation) + ", latency " +
                                    number(*latency.samples);
        EXPECT_EQ(report.memoryWarning, c.hasMemory) << curveName << ": " << figures;
        EXPECT_EQ(report.warning.empty(), !c.hasMemory) << report.warning;
        RecordProperty(curveName, figures);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Captures, MemoryWarning,
    ::testing::Combine(::testing::ValuesIn(memoryCases()), ::testing::Values(16384, 65536)),
    [](const auto& info)
    { return std::get<0>(info.param).name + "_" + std::to_string(std::get<1>(info.param)); });
