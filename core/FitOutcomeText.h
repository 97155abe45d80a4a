#pragma once

#include "estimation/EstimationTypes.h"
#include "estimation/FitReport.h"

#include <juce_core/juce_core.h>

// The words and numbers the window and the command-line probe use for a fit's outcome, so that both
// say the same thing with the same digits.
namespace FitOutcomeText
{
// What went wrong, and what the user can do about it.
juce::String failureMessage(estimation::EstimateFailure failure);

// "Y lags X by 37.25 samples", "Y leads X by 5.00 samples" or "none found (why)".
juce::String latency(const estimation::LatencyEstimate& latency);
// The measured delay alone, to two decimals: "Y lags X by 37.25 samples".
juce::String delay(double samples);
// The reason a delay was not found, cut to its first clause: "the test signal repeats".
juce::String shortReason(const estimation::LatencyEstimate& latency);

juce::String residualDecibels(double residual);       // "-38.4 dB"
juce::String coveragePercent(double coverage);        // "99.8 %"
juce::String gapPercent(double gap);                  // "0.12 %", or "not measured"
juce::String signedValue(double value, int decimals); // "+1.00", "-0.25"
} // namespace FitOutcomeText
