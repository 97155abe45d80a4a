#pragma once

#include "tools/CommandLineOptions.h"
#include "tools/ProbeSession.h"

// The fit options both "fit" and "demo" accept, applied to the processor's parameters.
namespace FitSettings
{
inline const juce::StringArray optionNames{"algorithm", "length", "smoothing", "latency-x", "latency-y"};

juce::Result apply(const CommandLineOptions& options, ProbeSession& session);

// "ODR, 16k, smoothing 50, latency X 0, latency Y 0"
juce::String describe(const ProbeSession& session);
} // namespace FitSettings
