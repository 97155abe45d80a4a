#pragma once

#include "estimation/FitReport.h"

#include <juce_core/juce_core.h>

// The fit report as the probe prints it and as the JSON file that --report writes for scripts.
namespace FitReportOutput
{
// One line each: measured latency, coverage and driven range, residual, its correlation, direction
// gap, and the memory warning when there is one.
juce::StringArray describe(const estimation::FitReport& report);

// "latencySamples" (null when none was found), "latencyMessage", "latencyX" and "latencyY" (the
// latencies the pairs were aligned by), "coverage", "xRange", "residual", "residualAboutFit",
// "residualCorrelation" (null when there is no residual), "residualThreshold",
// "residualCorrelationThreshold", "directionGap" (null when not measurable), "directionGapThreshold",
// "memoryWarning", "warning".
juce::var toJson(const estimation::FitReport& report, double latencyX, double latencyY);

// Writes json to file, replacing it; fails with a message naming the file.
juce::Result write(const juce::var& json, const juce::File& file);
} // namespace FitReportOutput
