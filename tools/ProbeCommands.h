#pragma once

#include "tools/Console.h"

#include <juce_core/juce_core.h>

// The probe's commands. Each takes the arguments after its name and returns the process exit code.
namespace ProbeCommands
{
enum ExitCode
{
    success = 0,
    failure = 1,    // a file could not be read or written, or the fit failed
    usageError = 2, // a missing, unknown or out-of-range argument
};

int fit(const juce::StringArray& arguments, Console& console);
int analyze(const juce::StringArray& arguments, Console& console);
int inspect(const juce::StringArray& arguments, Console& console);
int demo(const juce::StringArray& arguments, Console& console);
int library(const juce::StringArray& arguments, Console& console);
int screenshot(const juce::StringArray& arguments, Console& console);

juce::String usage();
} // namespace ProbeCommands
