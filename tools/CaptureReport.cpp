#include "tools/CaptureReport.h"

#include "core/FitOutcomeText.h"
#include "core/LatencyAlignment.h"
#include "core/ParameterLayout.h"
#include "estimation/LatencyEstimator.h"
#include "tools/FitReportOutput.h"
#include "tools/FitSettings.h"
#include "tools/ProbeCommands.h"

#include <cmath>

namespace CaptureReport
{
namespace
{
// The float parameters keep a measured delay to well within this.
constexpr double mismatchSamples = 0.05;
} // namespace

int measureLatency(ProbeSession& session, const RecordedPair::Pairs& capture, bool delayX, bool delayY,
                   bool required, Console& console, estimation::LatencyEstimate& latency)
{
    latency = estimation::estimateLatency(capture.x, capture.y);
    if (!delayX && !delayY)
        return ProbeCommands::success;

    if (!latency.samples)
    {
        if (!required)
            return ProbeCommands::success;
        console.error("cannot measure the latency: " + juce::String(latency.message) +
                      "; set --latency-x or --latency-y by hand");
        return ProbeCommands::failure;
    }

    if (const auto result = FitSettings::applyMeasuredLatency(session, *latency.samples, delayX, delayY);
        result.failed())
    {
        console.error("measured latency: " + FitOutcomeText::latency(latency) + "; " +
                      result.getErrorMessage());
        return ProbeCommands::failure;
    }
    console.print("latency: " + FitOutcomeText::latency(latency) + " (measured); using latency X " +
                  session.parameterText(ParameterIDs::latencyX) + ", latency Y " +
                  session.parameterText(ParameterIDs::latencyY));
    return ProbeCommands::success;
}

estimation::FitReport make(const ProbeSession& session, const RecordedPair::Pairs& capture,
                           const estimation::LatencyEstimate& latency, const std::vector<double>& fittedCurve)
{
    const auto aligned = LatencyAlignment::alignCapture(capture.x, capture.y, session.captureLength(),
                                                        session.parameterValue(ParameterIDs::latencyX),
                                                        session.parameterValue(ParameterIDs::latencyY));
    if (!aligned)
    {
        estimation::FitReport report;
        report.latency = latency;
        report.message = "the latencies leave no pairs";
        return report;
    }
    return estimation::makeFitReport(aligned->x, aligned->y, latency, fittedCurve);
}

void print(const estimation::FitReport& report, const ProbeSession& session, Console& console)
{
    for (const auto& line : FitReportOutput::describe(report))
        console.print(line);

    const auto& measured = report.latency.samples;
    const auto inUse = (double) session.parameterValue(ParameterIDs::latencyX) -
                       (double) session.parameterValue(ParameterIDs::latencyY);
    if (measured && std::abs(*measured - inUse) > mismatchSamples)
        console.print("note: the latencies in use (X " + session.parameterText(ParameterIDs::latencyX) +
                      ", Y " + session.parameterText(ParameterIDs::latencyY) +
                      ") do not match the measured delay; --latency-x auto or --latency-y auto sets them");
}

bool output(const estimation::FitReport& report, const ProbeSession& session,
            const CommandLineOptions& options, juce::StringArray& written, Console& console)
{
    const auto target = options.get("report");
    if (!target)
        return true;
    const auto json = FitReportOutput::toJson(report, session.parameterValue(ParameterIDs::latencyX),
                                              session.parameterValue(ParameterIDs::latencyY));
    if (const auto result =
            FitReportOutput::write(json, juce::File::getCurrentWorkingDirectory().getChildFile(*target));
        result.failed())
    {
        console.error(result.getErrorMessage());
        return false;
    }
    written.add(*target);
    return true;
}
} // namespace CaptureReport
