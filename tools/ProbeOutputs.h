#pragma once

#include "tools/CommandLineOptions.h"
#include "tools/Console.h"
#include "tools/ProbeSession.h"

// Writes what "fit" and "demo" were asked for: the preset (--output, with --artist) and the CSV
// (--csv) of the fitted table.
namespace ProbeOutputs
{
// Adds the written paths to written; reports and returns false on the first failure.
bool save(const ProbeSession& session, const CommandLineOptions& options, juce::StringArray& written,
          Console& console);
} // namespace ProbeOutputs
