// veltrane-probe: the measurement without a window, for recorded files and scripted checks.
#include "tools/ProbeCommands.h"

#include <juce_events/juce_events.h>

namespace ProbeCommands
{
juce::String usage()
{
    return R"(usage:
  veltrane-probe fit --x IN.wav[:channel] --y OUT.wav[:channel] [--algorithm odr|mean]
                     [--length 16k|32k|64k|128k] [--smoothing 1..100] [--latency-x S|auto]
                     [--latency-y S|auto] [--artist NAME] [--output curve.tfunc] [--csv curve.csv]
                     [--report report.json] [--save-to-library NAME] [--user-data DIR] [--common-data DIR]
  veltrane-probe analyze --x IN.wav[:channel] --y OUT.wav[:channel] [--length ...]
                         [--latency-x S|auto] [--latency-y S|auto] [--report report.json]
  veltrane-probe inspect FILE.tfunc [--csv values.csv]
  veltrane-probe demo [--device tanh|hardclip|asym] [--drive D] [--output demo.tfunc] [--csv demo.csv]
                      [fit options as above]
  veltrane-probe library [--user-data DIR] [--common-data DIR]
  veltrane-probe screenshot --output window.png [--frozen] [--device tanh|hardclip|asym] [--drive D]
                     [--size 700x550] [--scale 1|2] [--mode tfunc|time] [--sidechain on|off]
                     [--dialog artist|theme|update|menu] [fit options as above]

X is the signal fed into the device, Y the device's output; both may be channels of one file
(channels count from 1, the default is 1). The fit uses the newest --length samples of the
recording. A latency delays its stream: if Y lags X by d samples, pass --latency-x d; "auto"
measures d first. Every fit ends with a report on the capture (measured latency, coverage, residual,
and the gap between rising and falling sweeps, which warns of a device with memory); "analyze"
prints it without fitting, aligned by the measured latency unless latencies are given.
--save-to-library saves into the user preset folder (below the user's application data, or
below --user-data DIR); "library" lists the presets there and in the all-users folder.
"screenshot" plays the simulated device into the processor, opens the plug-in window offscreen
(live, or --frozen with the fitted curve) and writes it as a PNG.
Exit status: 0 success, 1 a file or the fit failed, 2 bad arguments.)";
}
} // namespace ProbeCommands

int main(int argc, char** argv)
{
    // The refit's result comes back through the message loop, so the framework runs as in a host.
    juce::ScopedJuceInitialiser_GUI juce;
    Console console;

    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add(juce::String::fromUTF8(argv[i]));

    if (arguments.isEmpty())
    {
        console.error("no command given\n" + ProbeCommands::usage());
        return ProbeCommands::usageError;
    }

    const auto command = arguments[0];
    arguments.remove(0);

    if (command == "fit")
        return ProbeCommands::fit(arguments, console);
    if (command == "analyze")
        return ProbeCommands::analyze(arguments, console);
    if (command == "inspect")
        return ProbeCommands::inspect(arguments, console);
    if (command == "demo")
        return ProbeCommands::demo(arguments, console);
    if (command == "library")
        return ProbeCommands::library(arguments, console);
    if (command == "screenshot")
        return ProbeCommands::screenshot(arguments, console);
    if (command == "help" || command == "--help" || command == "-h")
    {
        console.print(ProbeCommands::usage());
        return ProbeCommands::success;
    }

    console.error("unknown command " + command + "\n" + ProbeCommands::usage());
    return ProbeCommands::usageError;
}
