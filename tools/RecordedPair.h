#pragma once

#include "tools/AudioChannelSource.h"
#include "tools/CommandLineOptions.h"
#include "tools/Console.h"

#include <memory>
#include <optional>
#include <vector>

// The X and Y recordings named by --x and --y, checked to be two channels of one length and rate
// that hold at least the capture length.
class RecordedPair
{
public:
    // Reports what is wrong and sets exitCode (ProbeCommands::ExitCode) when the pair is unusable.
    static std::unique_ptr<RecordedPair> open(const CommandLineOptions& options, int captureLength,
                                              Console& console, int& exitCode);

    juce::int64 getLength() const noexcept { return length; }
    double getSampleRate() const noexcept { return x->getSampleRate(); }
    juce::String describe() const { return x->describe() + " / " + y->describe(); }

    // Reads n pairs from position start; false on a read error.
    bool read(juce::int64 start, int n, double* xOut, double* yOut);

    struct Pairs
    {
        std::vector<double> x, y;
    };
    // The newest count pairs: what the processor's capture holds once the whole recording has been
    // played through it. Empty on a read error.
    std::optional<Pairs> readNewest(int count);

private:
    RecordedPair() = default;

    juce::AudioFormatManager formats;
    std::unique_ptr<AudioChannelSource> x, y;
    juce::int64 length = 0;
};
