#include "TestSignals.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace estimation_test
{

Device tanhDevice()
{
    return {"tanh", [](double x) { return std::tanh(2.0 * x); }};
}

Device hardClipDevice()
{
    return {"hardclip", [](double x) { return std::clamp(1.5 * x, -1.0, 1.0); }};
}

Device asymmetricDevice()
{
    return {"asymmetric", [](double x) { return x >= 0.0 ? std::tanh(1.5 * x) : 0.6 * std::tanh(3.0 * x); }};
}

Device nonMonotonicDevice()
{
    return {"nonmonotonic", [](double x) { return std::sin(2.5 * x) + 0.2 * x; }};
}

Device identityDevice()
{
    return {"identity", [](double x) { return x; }};
}

Device rectifierDevice()
{
    return {"rectifier", [](double x) { return std::abs(x); }};
}

Device steepClipDevice()
{
    return {"steepclip", [](double x) { return std::clamp(40.0 * x, -1.0, 1.0); }};
}

Capture makeCapture(const CaptureSpec& spec, const Device& device)
{
    std::mt19937 rng(spec.seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const double pi = 3.14159265358979323846;
    Capture c;
    c.x.resize(static_cast<size_t>(spec.length));
    c.y.resize(static_cast<size_t>(spec.length));
    for (int k = 0; k < spec.length; ++k)
    {
        double base = 0.0;
        const double phase = k / spec.periodSamples;
        switch (spec.wave)
        {
            case Wave::Sine:
                base = std::sin(2.0 * pi * phase);
                break;
            case Wave::Triangle:
            {
                const double frac = phase - std::floor(phase);
                base = frac < 0.5 ? 4.0 * frac - 1.0 : 3.0 - 4.0 * frac;
                break;
            }
            case Wave::Noise:
                base = unit(rng);
                break;
        }
        double x = spec.offset + spec.amplitude * base;
        if (spec.inputNoise > 0.0)
            x += spec.inputNoise * unit(rng);
        double y = device.f(x);
        if (spec.noise > 0.0)
            y += spec.noise * unit(rng);
        c.x[static_cast<size_t>(k)] = x;
        c.y[static_cast<size_t>(k)] = y;
    }
    return c;
}

double maxAbsDifference(const std::vector<double>& a, const std::vector<double>& b)
{
    if (a.size() != b.size())
        return std::numeric_limits<double>::infinity();
    double worst = 0.0;
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (std::isnan(a[i]) && std::isnan(b[i]))
            continue;
        const double d = std::abs(a[i] - b[i]);
        if (!(d <= worst))
            worst = d; // NaN against a number wins, so it cannot hide
    }
    return worst;
}

} // namespace estimation_test
