#include "tools/CaptureReport.h"
#include "tools/FitSettings.h"
#include "tools/ProbeCommands.h"
#include "tools/ProbeOutputs.h"
#include "tools/RecordedPair.h"

namespace ProbeCommands
{
int fit(const juce::StringArray& arguments, Console& console)
{
    auto known = FitSettings::optionNames;
    known.addArray({"x", "y", "report"});
    known.addArray(ProbeOutputs::optionNames);
    const auto parsed = CommandLineOptions::parseOptionsOnly(arguments, known);
    if (!parsed.ok)
    {
        console.error(parsed.error);
        return usageError;
    }
    const auto& options = parsed.options;
    if (!options.has("x") || !options.has("y"))
    {
        console.error("fit needs --x IN.wav[:channel] and --y OUT.wav[:channel]");
        return usageError;
    }

    ProbeSession session(ProbeOutputs::environmentFor(options, options.has("save-to-library")));
    if (const auto applied = FitSettings::apply(options, session, true); applied.failed())
    {
        console.error(applied.getErrorMessage());
        return usageError;
    }

    int exitCode = success;
    auto recording = RecordedPair::open(options, session.captureLength(), console, exitCode);
    if (recording == nullptr)
        return exitCode;
    const auto length = recording->getLength();

    // The pairs the fit will use: their delay is measured for the report and for "auto" latencies.
    const auto capture = recording->readNewest(session.captureLength());
    if (!capture)
    {
        console.error("reading the audio failed");
        return failure;
    }
    estimation::LatencyEstimate latency;
    if (const auto measured = CaptureReport::measureLatency(
            session, *capture, FitSettings::isAutomatic(options, "latency-x"),
            FitSettings::isAutomatic(options, "latency-y"), true, console, latency);
        measured != success)
        return measured;

    juce::int64 position = 0;
    const auto reader = [&](double* xOut, double* yOut, int n)
    {
        n = (int) std::min<juce::int64>(n, length - position);
        if (n <= 0)
            return 0;
        if (!recording->read(position, n, xOut, yOut))
            return -1;
        position += n;
        return n;
    };

    const auto started = juce::Time::getMillisecondCounterHiRes();
    if (const auto fed = session.feed(reader, length, recording->getSampleRate(), console); fed.failed())
    {
        console.error(fed.getErrorMessage());
        return failure;
    }
    const auto fitStarted = juce::Time::getMillisecondCounterHiRes();
    if (const auto fitted = session.fit(console); fitted.failed())
    {
        console.error(fitted.getErrorMessage());
        return failure;
    }
    const auto finished = juce::Time::getMillisecondCounterHiRes();

    // The report the fit's worker made, as the window shows it. It first: a report that cannot be
    // written leaves no preset behind either.
    juce::StringArray written;
    const auto& report = session.getProcessor().getLastFitOutcome().report;
    if (!CaptureReport::output(report, session, options, written, console) ||
        !ProbeOutputs::save(session, options, written, console))
        return failure;

    console.print("fit: " + juce::String(session.captureLength()) + " of " + juce::String(length) +
                  " pairs of " + recording->describe() + " (" + FitSettings::describe(session) +
                  "), fitted in " + juce::String((finished - fitStarted) / 1000.0, 2) + " s (" +
                  juce::String((finished - started) / 1000.0, 2) + " s in all)" +
                  (written.isEmpty() ? juce::String() : "; wrote " + written.joinIntoString(", ")));
    CaptureReport::print(report, session, console);
    return success;
}
} // namespace ProbeCommands
