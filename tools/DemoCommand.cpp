#include "core/TransferFunctionTable.h"
#include "tools/DeviceOption.h"
#include "tools/FitSettings.h"
#include "tools/ProbeCommands.h"
#include "tools/ProbeOutputs.h"

#include <cmath>

namespace ProbeCommands
{
namespace
{
constexpr double demoSampleRate = 48000.0;
constexpr double demoFrequency = 100.0;
} // namespace

int demo(const juce::StringArray& arguments, Console& console)
{
    auto known = FitSettings::optionNames;
    known.addArray({"device", "drive"});
    known.addArray(ProbeOutputs::optionNames);
    const auto parsed = CommandLineOptions::parseOptionsOnly(arguments, known);
    if (!parsed.ok)
    {
        console.error(parsed.error);
        return usageError;
    }
    const auto& options = parsed.options;

    const auto device = simulatedDeviceFromOptions(options, console);
    if (!device)
        return usageError;

    ProbeSession session(ProbeOutputs::environmentFor(options, options.has("save-to-library")));
    if (const auto applied = FitSettings::apply(options, session); applied.failed())
    {
        console.error(applied.getErrorMessage());
        return usageError;
    }

    // A full-scale sine, a little longer than the capture so that the ring holds only the sine.
    const auto total = (juce::int64) session.captureLength() + ProbeSession::blockSize * 8;
    juce::int64 position = 0;
    const auto generator = [&](double* x, double* y, int n)
    {
        n = (int) std::min<juce::int64>(n, total - position);
        for (int i = 0; i < n; ++i, ++position)
        {
            x[i] = std::sin(2.0 * juce::MathConstants<double>::pi * demoFrequency * (double) position /
                            demoSampleRate);
            y[i] = device->process(x[i]);
        }
        return std::max(n, 0);
    };

    const auto started = juce::Time::getMillisecondCounterHiRes();
    if (const auto fed = session.feed(generator, total, demoSampleRate, console); fed.failed())
    {
        console.error(fed.getErrorMessage());
        return failure;
    }
    if (const auto fitted = session.fit(console); fitted.failed())
    {
        console.error(fitted.getErrorMessage());
        return failure;
    }
    const auto seconds = (juce::Time::getMillisecondCounterHiRes() - started) / 1000.0;

    juce::StringArray written;
    if (!ProbeOutputs::save(session, options, written, console))
        return failure;

    const auto truth = device->normalisedCurve();
    const auto table = session.tableValues();
    double worst = 0.0;
    int worstIndex = 0;
    for (int i = 0; i < TransferFunctionTable::size; ++i)
    {
        const auto deviation = std::abs(table[(std::size_t) i] - truth[(std::size_t) i]);
        if (deviation > worst)
        {
            worst = deviation;
            worstIndex = i;
        }
    }

    console.print("demo: " + device->getName() + " device, drive " + juce::String(device->getDrive()) +
                  ", 100 Hz sine at 48 kHz (" + FitSettings::describe(session) + "), fitted in " +
                  juce::String(seconds, 2) + " s" +
                  (written.isEmpty() ? juce::String() : "; wrote " + written.joinIntoString(", ")));
    console.print("largest deviation from the true normalised curve: " + juce::String(worst, 6) +
                  " at x = " + juce::String(TransferFunctionTable::xAt(worstIndex), 4));
    return success;
}
} // namespace ProbeCommands
