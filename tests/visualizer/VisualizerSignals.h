#pragma once

#include <juce_graphics/juce_graphics.h>

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

// What the editor hands the visualizer, made up deterministically: shared by the tests and the
// benchmarks.
namespace visualizertest
{
// Uniform in -1..+1, the same on every platform (unlike the standard distributions).
class Noise
{
public:
    explicit Noise(std::uint32_t seed)
        : state(seed)
    {
    }

    double next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / static_cast<double>(1u << 23) - 1.0;
    }

private:
    std::uint32_t state;
};

// A device with a little memory: a soft clipper whose input lags by a few samples.
inline double device(double x)
{
    return std::tanh(2.5 * x) / std::tanh(2.5);
}

// The newest pairs of a 100 Hz sine at 48 kHz through the device, with a little noise: a narrow
// loop traced back and forth, as the live view shows it.
inline std::vector<juce::Point<double>> liveCloud(int count = 2048)
{
    constexpr double twoPi = 6.283185307179586;
    Noise noise(7);
    std::vector<juce::Point<double>> points;
    points.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        const auto phase = twoPi * 100.0 * i / 48000.0;
        const auto x = 0.92 * std::sin(phase);
        const auto lagged = 0.92 * std::sin(phase - 0.12);
        points.push_back({x, device(lagged) * 0.95 + 0.01 * noise.next()});
    }
    return points;
}

// The fitted curve as the editor takes it from the table: 16384 points, x evenly spaced.
inline std::vector<juce::Point<double>> frozenCurve(int count = 16384)
{
    std::vector<juce::Point<double>> points;
    points.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        const auto x = -1.0 + 2.0 * i / (count - 1);
        points.push_back({x, device(x)});
    }
    return points;
}

// Two triggered traces: X a sine of three cycles, Y the device's output.
inline std::pair<std::vector<float>, std::vector<float>> timeTraces(int count = 8192)
{
    constexpr double twoPi = 6.283185307179586;
    std::vector<float> x, y;
    x.reserve(static_cast<std::size_t>(count));
    y.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        const auto v = 0.8 * std::sin(twoPi * 3.0 * i / count);
        x.push_back(static_cast<float>(v));
        y.push_back(static_cast<float>(0.9 * device(v)));
    }
    return {std::move(x), std::move(y)};
}
} // namespace visualizertest
