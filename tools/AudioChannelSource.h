#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <memory>
#include <optional>

// One channel of a recorded file, named on the command line as "FILE" or "FILE:CHANNEL" (channels
// counted from 1). Reads any format the framework's basic formats cover (WAV, AIFF, FLAC, ...).
class AudioChannelSource
{
public:
    struct Opened;

    static Opened open(juce::AudioFormatManager& formats, const juce::String& argument);

    double getSampleRate() const noexcept { return reader->sampleRate; }
    juce::int64 getLength() const noexcept { return reader->lengthInSamples; }
    int getChannel() const noexcept { return channel; } // from 1
    const juce::File& getFile() const noexcept { return file; }
    juce::String describe() const { return file.getFileName() + ":" + juce::String(channel); }

    // Reads n samples from position start into destination; false on a read error.
    bool read(juce::int64 start, int n, double* destination);

private:
    AudioChannelSource() = default;

    juce::File file;
    int channel = 1;
    std::unique_ptr<juce::AudioFormatReader> reader;
    juce::AudioBuffer<float> chunk;
};

struct AudioChannelSource::Opened
{
    std::unique_ptr<AudioChannelSource> source;
    juce::String error;
};
