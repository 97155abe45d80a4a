#pragma once

#include "tools/CommandLineOptions.h"
#include "tools/ProbeSession.h"

// The fit options both "fit" and "demo" accept, applied to the processor's parameters.
namespace FitSettings
{
inline const juce::StringArray optionNames{"algorithm", "length", "smoothing", "latency-x", "latency-y"};

// A latency given as "auto" is left alone when allowAutomaticLatency is set (the caller measures it
// and applies it with applyMeasuredLatency), and refused otherwise.
juce::Result apply(const CommandLineOptions& options, ProbeSession& session,
                   bool allowAutomaticLatency = false);

bool isAutomatic(const CommandLineOptions& options, const char* latencyOption);

// Sets latencies from the measured delay of Y against X (positive: Y lags): with delayX alone, X is
// delayed so that it meets Y; with delayY alone, Y is; with both, whichever the sign asks for.
// Fails when the delay has the other sign or the latency would leave its range.
juce::Result applyMeasuredLatency(ProbeSession& session, double delay, bool delayX, bool delayY);

// "ODR, 16k, smoothing 50, latency X 0, latency Y 0"
juce::String describe(const ProbeSession& session);
} // namespace FitSettings
