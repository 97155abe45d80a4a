#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <vector>

// A memoryless device for the demo: y = f(x) with a drive (input gain) applied first.
class SimulatedDevice
{
public:
    static const juce::StringArray& names(); // "tanh", "hardclip", "asym"
    static std::optional<SimulatedDevice> create(const juce::String& name, double drive);

    double process(double x) const;

    // What a perfect measurement yields: f on the table grid divided by its largest magnitude,
    // since the estimator normalises both axes and the curve to their peaks.
    std::vector<double> normalisedCurve() const;

    const juce::String& getName() const noexcept { return name; }
    double getDrive() const noexcept { return drive; }

private:
    SimulatedDevice(juce::String deviceName, double deviceDrive);

    juce::String name;
    double drive;
};
