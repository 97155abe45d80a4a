#include "core/FitOutcomeText.h"

#include <algorithm>
#include <cmath>

namespace FitOutcomeText
{
juce::String failureMessage(estimation::EstimateFailure failure)
{
    using estimation::EstimateFailure;
    switch (failure)
    {
        case EstimateFailure::xSilent:
            return "The sidechain (X) was silent for the whole capture. Is the device's input routed to the "
                   "sidechain?";
        case EstimateFailure::ySilent:
            return "The main input (Y) was silent for the whole capture. Is the device's output routed to "
                   "this plug-in's input, and is the device on?";
        case EstimateFailure::noFinitePair:
            return "Every captured pair held a sample that is not a number or infinite. Check the device's "
                   "output and the track's routing, then play and freeze again.";
        case EstimateFailure::tooFewPairs:
            return "Too few captured pairs were usable to outline a curve. Play the test signal through the "
                   "device again, then freeze.";
        case EstimateFailure::outOfMemory:
            return "The fit ran out of memory. Close other programs or choose a shorter capture length, then "
                   "freeze again.";
        case EstimateFailure::mismatchedLengths:
            return "The captured X and Y differ in length. Press Play, then Freeze, to capture again.";
        case EstimateFailure::none:
            break;
    }
    return "The fit gave no curve. Press Play, then Freeze, to try again.";
}

juce::String delay(double samples)
{
    return juce::String(samples < 0.0 ? "Y leads X by " : "Y lags X by ") +
           juce::String(std::abs(samples), 2) + " samples";
}

juce::String latency(const estimation::LatencyEstimate& latency)
{
    if (!latency.samples)
        return "none found (" + juce::String(latency.message) + ")";
    return delay(*latency.samples);
}

juce::String shortReason(const estimation::LatencyEstimate& latency)
{
    const auto message = juce::String(latency.message);
    const auto clause = message.upToFirstOccurrenceOf(":", false, false).trim();
    return clause.isNotEmpty() ? clause : message;
}

juce::String residualDecibels(double residual)
{
    return juce::String(20.0 * std::log10(std::max(residual, 1e-12)), 1) + " dB";
}

juce::String coveragePercent(double coverage)
{
    return juce::String(100.0 * coverage, 1) + " %";
}

juce::String gapPercent(double gap)
{
    return std::isfinite(gap) ? juce::String(100.0 * gap, 2) + " %" : juce::String("not measured");
}

juce::String signedValue(double value, int decimals)
{
    const auto text = juce::String(std::abs(value), decimals);
    return (value < 0.0 && text.containsAnyOf("123456789") ? "-" : "+") + text;
}
} // namespace FitOutcomeText
