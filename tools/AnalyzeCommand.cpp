#include "core/ParameterLayout.h"
#include "tools/CaptureReport.h"
#include "tools/FitSettings.h"
#include "tools/ProbeCommands.h"
#include "tools/ProbeOutputs.h"
#include "tools/RecordedPair.h"

namespace ProbeCommands
{
int analyze(const juce::StringArray& arguments, Console& console)
{
    const juce::StringArray known{"x", "y", "length", "latency-x", "latency-y", "report"};
    const auto parsed = CommandLineOptions::parseOptionsOnly(arguments, known);
    if (!parsed.ok)
    {
        console.error(parsed.error);
        return usageError;
    }
    const auto& options = parsed.options;
    if (!options.has("x") || !options.has("y"))
    {
        console.error("analyze needs --x IN.wav[:channel] and --y OUT.wav[:channel]");
        return usageError;
    }

    // The processor's parameters check the options as for a fit; nothing is played or fitted.
    ProbeSession session(ProbeOutputs::environmentFor(options, false));
    if (const auto applied = FitSettings::apply(options, session, true); applied.failed())
    {
        console.error(applied.getErrorMessage());
        return usageError;
    }

    int exitCode = success;
    auto recording = RecordedPair::open(options, session.captureLength(), console, exitCode);
    if (recording == nullptr)
        return exitCode;
    const auto capture = recording->readNewest(session.captureLength());
    if (!capture)
    {
        console.error("reading the audio failed");
        return failure;
    }

    // Without latency options the pairs are aligned by the delay measured, if there is one.
    const auto manual = options.has("latency-x") || options.has("latency-y");
    estimation::LatencyEstimate latency;
    if (const auto measured = CaptureReport::measureLatency(
            session, *capture, !manual || FitSettings::isAutomatic(options, "latency-x"),
            !manual || FitSettings::isAutomatic(options, "latency-y"), manual, console, latency);
        measured != success)
        return measured;

    const auto report = CaptureReport::make(session, *capture, latency, {});
    juce::StringArray written;
    if (!CaptureReport::output(report, session, options, written, console))
        return failure;

    console.print("analyze: " + juce::String(session.captureLength()) + " of " +
                  juce::String(recording->getLength()) + " pairs of " + recording->describe() + " (" +
                  session.parameterText(ParameterIDs::captureLength) + ", latency X " +
                  session.parameterText(ParameterIDs::latencyX) + ", latency Y " +
                  session.parameterText(ParameterIDs::latencyY) + ")" +
                  (written.isEmpty() ? juce::String() : "; wrote " + written.joinIntoString(", ")));
    CaptureReport::print(report, session, console);
    return report.valid ? success : failure;
}
} // namespace ProbeCommands
