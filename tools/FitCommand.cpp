#include "tools/AudioChannelSource.h"
#include "tools/CurveCsv.h"
#include "tools/FitSettings.h"
#include "tools/ProbeCommands.h"
#include "tools/ProbeOutputs.h"

namespace ProbeCommands
{
int fit(const juce::StringArray& arguments, Console& console)
{
    auto known = FitSettings::optionNames;
    known.addArray({"x", "y"});
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
    if (const auto applied = FitSettings::apply(options, session); applied.failed())
    {
        console.error(applied.getErrorMessage());
        return usageError;
    }

    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    auto x = AudioChannelSource::open(formats, *options.get("x"));
    if (x.source == nullptr)
    {
        console.error("X: " + x.error);
        return failure;
    }
    auto y = AudioChannelSource::open(formats, *options.get("y"));
    if (y.source == nullptr)
    {
        console.error("Y: " + y.error);
        return failure;
    }

    if (x.source->getFile() == y.source->getFile() && x.source->getChannel() == y.source->getChannel())
    {
        console.error("X and Y are the same channel of " + x.source->getFile().getFileName() +
                      "; name two channels, e.g. FILE:1 and FILE:2");
        return usageError;
    }
    if (x.source->getSampleRate() != y.source->getSampleRate())
    {
        console.error("X is at " + juce::String(x.source->getSampleRate()) + " Hz but Y at " +
                      juce::String(y.source->getSampleRate()) + " Hz");
        return failure;
    }
    const auto length = x.source->getLength();
    if (length != y.source->getLength())
    {
        console.error("X has " + juce::String(length) + " samples but Y has " +
                      juce::String(y.source->getLength()));
        return failure;
    }
    if (length < session.captureLength())
    {
        console.error("the recording has " + juce::String(length) + " samples; capture length " +
                      juce::String(session.captureLength()) +
                      " needs at least that many (choose a shorter --length)");
        return failure;
    }

    juce::int64 position = 0;
    const auto reader = [&](double* xOut, double* yOut, int n)
    {
        n = (int) std::min<juce::int64>(n, length - position);
        if (n <= 0)
            return 0;
        if (!x.source->read(position, n, xOut) || !y.source->read(position, n, yOut))
            return -1;
        position += n;
        return n;
    };

    const auto started = juce::Time::getMillisecondCounterHiRes();
    if (const auto fed = session.feed(reader, length, x.source->getSampleRate(), console); fed.failed())
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

    juce::StringArray written;
    if (!ProbeOutputs::save(session, options, written, console))
        return failure;

    console.print("fit: " + juce::String(session.captureLength()) + " of " + juce::String(length) +
                  " pairs of " + x.source->describe() + " / " + y.source->describe() + " (" +
                  FitSettings::describe(session) + "), fitted in " +
                  juce::String((finished - fitStarted) / 1000.0, 2) + " s (" +
                  juce::String((finished - started) / 1000.0, 2) + " s in all)" +
                  (written.isEmpty() ? juce::String() : "; wrote " + written.joinIntoString(", ")));
    return success;
}
} // namespace ProbeCommands
