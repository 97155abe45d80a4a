#include "tools/DeviceOption.h"

namespace
{
constexpr double defaultDrive = 2.0;
constexpr double maximumDrive = 100.0;
} // namespace

std::optional<SimulatedDevice> simulatedDeviceFromOptions(const CommandLineOptions& options,
                                                          const Console& console)
{
    auto drive = defaultDrive;
    if (const auto text = options.get("drive"))
    {
        const auto value = parseNumber(*text);
        if (!value || !(*value > 0.0 && *value <= maximumDrive))
        {
            console.error("--drive " + *text + " is outside 0 (exclusive) .. " + juce::String(maximumDrive));
            return std::nullopt;
        }
        drive = *value;
    }
    const auto deviceName = options.get("device").value_or("tanh");
    auto device = SimulatedDevice::create(deviceName, drive);
    if (!device)
        console.error("--device " + deviceName + " is not one of " +
                      SimulatedDevice::names().joinIntoString(", "));
    return device;
}
