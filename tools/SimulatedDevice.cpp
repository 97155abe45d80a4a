#include "tools/SimulatedDevice.h"

#include "core/TransferFunctionTable.h"

#include <cmath>

namespace
{
// Shifts the operating point so that positive and negative halves saturate differently, while
// silence still maps to silence.
constexpr double asymmetricBias = 0.3;
} // namespace

SimulatedDevice::SimulatedDevice(juce::String deviceName, double deviceDrive)
    : name(std::move(deviceName))
    , drive(deviceDrive)
{
}

const juce::StringArray& SimulatedDevice::names()
{
    static const juce::StringArray list{"tanh", "hardclip", "asym"};
    return list;
}

std::optional<SimulatedDevice> SimulatedDevice::create(const juce::String& deviceName, double deviceDrive)
{
    if (!names().contains(deviceName))
        return std::nullopt;
    return SimulatedDevice(deviceName, deviceDrive);
}

double SimulatedDevice::process(double x) const
{
    const auto driven = drive * x;
    if (name == "hardclip")
        return juce::jlimit(-1.0, 1.0, driven);
    if (name == "asym")
        return std::tanh(driven + asymmetricBias) - std::tanh(asymmetricBias);
    return std::tanh(driven);
}

std::vector<double> SimulatedDevice::normalisedCurve() const
{
    std::vector<double> curve((std::size_t) TransferFunctionTable::size);
    double peak = 0.0;
    for (int i = 0; i < TransferFunctionTable::size; ++i)
    {
        curve[(std::size_t) i] = process(TransferFunctionTable::xAt(i));
        peak = std::max(peak, std::abs(curve[(std::size_t) i]));
    }
    if (peak > 0.0)
        for (auto& value : curve)
            value /= peak;
    return curve;
}
