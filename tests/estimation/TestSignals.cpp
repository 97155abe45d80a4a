#include "TestSignals.h"

#include "estimation/FractionalShift.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
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

double threeTones(double t)
{
    const double w = 2.0 * 3.14159265358979323846 / 48000.0;
    return 0.5 * std::sin(w * 97.3 * t) + 0.3 * std::sin(w * 231.7 * t + 1.0) +
           0.18 * std::sin(w * 413.9 * t + 2.0);
}

Capture alignedBy(const Capture& c, double delay)
{
    const int whole = static_cast<int>(std::floor(delay));
    const double fraction = delay - whole;
    // X(n - delay) = X((n - whole - 1) + (1 - fraction)).
    const std::vector<double> shifted =
        fraction > 1e-9 ? estimation::shiftByFraction(c.x, 1.0 - fraction) : c.x;
    const int offset = fraction > 1e-9 ? whole + 1 : whole;
    Capture aligned;
    for (int n = alignmentMargin; n + alignmentMargin < static_cast<int>(c.x.size()); ++n)
    {
        aligned.x.push_back(shifted[static_cast<size_t>(n - offset)]);
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
