#include "tools/AudioChannelSource.h"

namespace
{
struct NamedChannel
{
    juce::String path;
    int channel = 1;
    bool channelValid = true;
};

// A trailing ":digits" names the channel; any other colon belongs to the path.
NamedChannel split(const juce::String& text)
{
    const auto colon = text.lastIndexOfChar(':');
    if (colon < 0)
        return {text};

    const auto suffix = text.substring(colon + 1);
    if (suffix.isEmpty() || !suffix.containsOnly("0123456789"))
        return {text};

    NamedChannel s{text.substring(0, colon)};
    s.channel = suffix.length() <= 4 ? suffix.getIntValue() : 0;
    s.channelValid = s.channel >= 1;
    return s;
}
} // namespace

AudioChannelSource::Opened AudioChannelSource::open(juce::AudioFormatManager& formats,
                                                    const juce::String& argument)
{
    const auto parts = split(argument);
    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile(parts.path);

    if (!file.existsAsFile())
        return {nullptr, "cannot find file " + parts.path};

    std::unique_ptr<juce::AudioFormatReader> reader(formats.createReaderFor(file));
    if (reader == nullptr)
        return {nullptr, "cannot read audio from " + parts.path + " (not a WAV, AIFF or FLAC file?)"};

    if (reader->numChannels < 1 || reader->sampleRate <= 0.0)
        return {nullptr, "cannot read audio from " + parts.path + " (no channels)"};

    const auto numChannels = (int) reader->numChannels;
    if (!parts.channelValid || parts.channel > numChannels)
        return {nullptr, "unknown channel " + argument.fromLastOccurrenceOf(":", false, false) + " of " +
                             parts.path + " (it has " + juce::String(numChannels) +
                             (numChannels == 1 ? " channel)" : " channels)")};

    std::unique_ptr<AudioChannelSource> source(new AudioChannelSource());
    source->file = file;
    source->channel = parts.channel;
    source->reader = std::move(reader);
    return {std::move(source), {}};
}

bool AudioChannelSource::read(juce::int64 start, int n, double* destination)
{
    chunk.setSize((int) reader->numChannels, n, false, false, true);
    if (!reader->read(chunk.getArrayOfWritePointers(), (int) reader->numChannels, start, n))
        return false;

    const auto* samples = chunk.getReadPointer(channel - 1);
    for (int i = 0; i < n; ++i)
        destination[i] = samples[i];
    return true;
}
