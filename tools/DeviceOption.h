#pragma once

#include "tools/CommandLineOptions.h"
#include "tools/Console.h"
#include "tools/SimulatedDevice.h"

#include <optional>

// The simulated device named by --device (default tanh) with the drive of --drive (default 2), for
// the commands that play one; says on the console what is wrong when either is refused.
std::optional<SimulatedDevice> simulatedDeviceFromOptions(const CommandLineOptions& options,
                                                          const Console& console);
