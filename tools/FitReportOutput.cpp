#include "tools/FitReportOutput.h"

#include "core/FitOutcomeText.h"

#include <cmath>
#include <cstdio>

namespace FitReportOutput
{
namespace
{
juce::String significant(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

// JSON has no NaN: a value that could not be measured is null.
juce::var number(double value)
{
    return std::isfinite(value) ? juce::var(value) : juce::var();
}
} // namespace

juce::StringArray describe(const estimation::FitReport& report)
{
    juce::StringArray lines;
    lines.add("measured latency: " + FitOutcomeText::latency(report.latency));
    if (!report.valid)
    {
        lines.add("no report: " + juce::String(report.message));
        return lines;
    }
    lines.add("coverage: " + juce::String(100.0 * report.coverage, 1) + " % of the grid (x from " +
              juce::String(report.xMin, 4) + " to " + juce::String(report.xMax, 4) + ")");
    lines.add("residual: " + significant(report.residual) + " of Y's peak (" +
              FitOutcomeText::residualDecibels(report.residual) + "), about " +
              (report.residualAboutFit ? "the fitted curve" : "the capture's mean curve"));
    lines.add(std::isfinite(report.residualCorrelation)
                  ? "residual correlation: " + juce::String(report.residualCorrelation, 3) +
                        " from sample to sample (noise gives about 0; a device with memory more than " +
                        significant(estimation::memoryCorrelationThreshold) + " with a residual above " +
                        juce::String(20.0 * std::log10(estimation::memoryResidualThreshold), 1) + " dB)"
                  : juce::String("residual correlation: not measured (no residual)"));
    lines.add(std::isfinite(report.directionGap)
                  ? "direction gap: " + significant(report.directionGap) +
                        " of full scale (a device with memory shows more than " +
                        significant(estimation::memoryGapThreshold) + ")"
                  : juce::String("direction gap: not measured (too few sweeps in both directions)"));
    if (report.memoryWarning)
        lines.add("warning: " + juce::String(report.warning));
    return lines;
}

juce::var toJson(const estimation::FitReport& report, double latencyX, double latencyY)
{
    auto* object = new juce::DynamicObject();
    const auto& latency = report.latency;
    object->setProperty("latencySamples", latency.samples ? juce::var(*latency.samples) : juce::var());
    object->setProperty("latencyMessage", juce::String(latency.message));
    object->setProperty("latencyX", latencyX);
    object->setProperty("latencyY", latencyY);
    object->setProperty("valid", report.valid);
    if (!report.valid)
        object->setProperty("message", juce::String(report.message));
    object->setProperty("coverage", report.coverage);
    object->setProperty("xRange", juce::Array<juce::var>{report.xMin, report.xMax});
    object->setProperty("residual", number(report.residual));
    object->setProperty("residualAboutFit", report.residualAboutFit);
    object->setProperty("residualCorrelation", number(report.residualCorrelation));
    object->setProperty("residualThreshold", estimation::memoryResidualThreshold);
    object->setProperty("residualCorrelationThreshold", estimation::memoryCorrelationThreshold);
    object->setProperty("directionGap", number(report.directionGap));
    object->setProperty("directionGapThreshold", estimation::memoryGapThreshold);
    object->setProperty("memoryWarning", report.memoryWarning);
    object->setProperty("warning", juce::String(report.warning));
    return juce::var(object);
}

juce::Result write(const juce::var& json, const juce::File& file)
{
    if (!file.replaceWithText(juce::JSON::toString(json) + "\n"))
        return juce::Result::fail("cannot write " + file.getFullPathName());
    return juce::Result::ok();
}
} // namespace FitReportOutput
