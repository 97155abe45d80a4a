#include "tools/RecordedPair.h"

#include "tools/ProbeCommands.h"

std::unique_ptr<RecordedPair> RecordedPair::open(const CommandLineOptions& options, int captureLength,
                                                 Console& console, int& exitCode)
{
    std::unique_ptr<RecordedPair> pair(new RecordedPair());
    pair->formats.registerBasicFormats();
    const auto fail = [&](const juce::String& message, int code)
    {
        console.error(message);
        exitCode = code;
        return nullptr;
    };

    auto x = AudioChannelSource::open(pair->formats, *options.get("x"));
    if (x.source == nullptr)
        return fail("X: " + x.error, ProbeCommands::failure);
    auto y = AudioChannelSource::open(pair->formats, *options.get("y"));
    if (y.source == nullptr)
        return fail("Y: " + y.error, ProbeCommands::failure);

    if (x.source->getFile() == y.source->getFile() && x.source->getChannel() == y.source->getChannel())
        return fail("X and Y are the same channel of " + x.source->getFile().getFileName() +
                        "; name two channels, e.g. FILE:1 and FILE:2",
                    ProbeCommands::usageError);
    if (x.source->getSampleRate() != y.source->getSampleRate())
        return fail("X is at " + juce::String(x.source->getSampleRate()) + " Hz but Y at " +
                        juce::String(y.source->getSampleRate()) + " Hz",
                    ProbeCommands::failure);
    const auto length = x.source->getLength();
    if (length != y.source->getLength())
        return fail("X has " + juce::String(length) + " samples but Y has " +
                        juce::String(y.source->getLength()),
                    ProbeCommands::failure);
    if (length < captureLength)
        return fail("the recording has " + juce::String(length) + " samples; capture length " +
                        juce::String(captureLength) + " needs at least that many (choose a shorter --length)",
                    ProbeCommands::failure);

    pair->x = std::move(x.source);
    pair->y = std::move(y.source);
    pair->length = length;
    return pair;
}

bool RecordedPair::read(juce::int64 start, int n, double* xOut, double* yOut)
{
    return x->read(start, n, xOut) && y->read(start, n, yOut);
}

std::optional<RecordedPair::Pairs> RecordedPair::readNewest(int count)
{
    Pairs pairs;
    pairs.x.resize((size_t) count);
    pairs.y.resize((size_t) count);
    if (!read(length - count, count, pairs.x.data(), pairs.y.data()))
        return std::nullopt;
    return pairs;
}
