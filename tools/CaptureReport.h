#pragma once

#include "estimation/FitReport.h"
#include "tools/CommandLineOptions.h"
#include "tools/Console.h"
#include "tools/ProbeSession.h"
#include "tools/RecordedPair.h"

// What "fit" and "analyze" share: the delay measured on the capture the fit uses, applied where the
// latencies say "auto", and the report on the pairs as the processor aligns them.
namespace CaptureReport
{
// Measures the delay of Y against X in capture and, when delayX or delayY is set, applies it to those
// latencies and prints what it found. When there is no delay to apply, required makes it fail
// (reported; returns ProbeCommands::failure); otherwise the latencies stay as they are.
int measureLatency(ProbeSession& session, const RecordedPair::Pairs& capture, bool delayX, bool delayY,
                   bool required, Console& console, estimation::LatencyEstimate& latency);

// The report on capture aligned by the session's latencies; fittedCurve: the fit's raw bins, or empty.
estimation::FitReport make(const ProbeSession& session, const RecordedPair::Pairs& capture,
                           const estimation::LatencyEstimate& latency,
                           const std::vector<double>& fittedCurve);

// Prints the report and writes it to --report when given (the written path is added to written).
bool output(const estimation::FitReport& report, const ProbeSession& session,
            const CommandLineOptions& options, juce::StringArray& written, Console& console);
// Prints the report, and a hint when the latencies in use disagree with the delay measured.
void print(const estimation::FitReport& report, const ProbeSession& session, Console& console);
} // namespace CaptureReport
