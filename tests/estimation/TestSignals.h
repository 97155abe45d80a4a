#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace estimation_test
{

// A device curve y = f(x) for synthetic captures.
struct Device
{
    std::string name;
    std::function<double(double)> f;
};

Device tanhDevice();
Device hardClipDevice();
Device asymmetricDevice();
Device nonMonotonicDevice();
Device identityDevice();
// A full-wave rectifier, |x|: even, so its output does not correlate with its input.
Device rectifierDevice();
// clamp(40 x): its slope of 40 lies far beyond the fit's slope limit.
Device steepClipDevice();

enum class Wave
{
    Sine,
    Triangle,
    Noise
};

struct Capture
{
    std::vector<double> x, y;
};

struct CaptureSpec
{
    Wave wave = Wave::Sine;
    int length = 4096;
    double periodSamples = 480.0; // sine and triangle
    double amplitude = 1.0;
    double offset = 0.0;
    double noise = 0.0;      // uniform noise added to y, peak value
    double inputNoise = 0.0; // uniform noise added to x, peak value (makes sweeps wiggle)
    std::uint32_t seed = 1;
};

Capture makeCapture(const CaptureSpec& spec, const Device& device);

// Three unrelated tones (97.3, 231.7 and 413.9 Hz at 48 kHz) at time t in samples, peak about 0.98:
// a signal that does not repeat within the ±512 samples the latency search covers.
double threeTones(double t);

// Pairs this far from either end are left out wherever a capture is aligned.
inline constexpr int alignmentMargin = 520;

// The pairs (X(n - delay), Y(n)) a refit with this latency fits, X delayed by the refit's shift.
Capture alignedBy(const Capture& c, double delay);

// Three significant digits, for the figures a test records.
std::string number(double v);

// Largest |a[i] - b[i]| (NaN in both counts as equal, in one as NaN); infinity if the lengths differ.
double maxAbsDifference(const std::vector<double>& a, const std::vector<double>& b);

} // namespace estimation_test
