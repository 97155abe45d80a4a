#include "estimation/LatencyEstimator.h"
#include "TestSignals.h"
#include "estimation/TransferFunctionEstimator.h"

#include <gtest/gtest.h>

#include <cmath>
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

// X at every sample; Y = f(X(n - delay)) plus uniform noise of the given peak.
Capture delayedCapture(const Device& device, double delay, double noise, int length = captureLength)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    Capture c;
    for (int n = 0; n < length; ++n)
    {
        c.x.push_back(threeTones(n));
        c.y.push_back(device.f(threeTones(n - delay)) + noise * unit(rng));
    }
    return c;
}

// The same pairs with X exactly where the device saw it.
Capture exactlyAligned(const Capture& c, double delay)
{
    Capture aligned;
    for (int n = alignmentMargin; n + alignmentMargin < static_cast<int>(c.x.size()); ++n)
    {
        aligned.x.push_back(threeTones(n - delay));
        aligned.y.push_back(c.y[static_cast<size_t>(n)]);
    }
    return aligned;
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
    // A fixed pseudo-random sequence that owes nothing to the tones.
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
        NoneCase{"silentOutput", threeTones, [](int) { return 0.0; }, captureLength, "Y is silent"},
        NoneCase{"silentInput", [](int) { return 0.0; }, threeTones, captureLength, "X is silent"},
        NoneCase{"constantDevice", threeTones, [](int) { return 0.3; }, captureLength, "Y does not change"},
        NoneCase{"constantInput", [](int) { return 0.5; }, threeTones, captureLength, "X does not change"},
        NoneCase{"tooShort", threeTones, threeTones, 2000, "the capture is too short: 2000 pairs"},
        NoneCase{"unrelatedOutput", threeTones, unrelatedNoise, captureLength, "Y does not follow X"},
        // A 100 Hz sine repeats every 480 samples: 12 and 12 - 480 fit alike.
        NoneCase{"repeatingSignal", [](int n) { return std::sin(2.0 * pi * 100.0 * n / 48000.0); },
                 [](int n) { return std::tanh(2.0 * std::sin(2.0 * pi * 100.0 * (n - 12) / 48000.0)); },
                 captureLength, "the test signal repeats: delays of "}),
    [](const auto& info) { return info.param.name; });
