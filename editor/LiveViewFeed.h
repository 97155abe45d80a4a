#pragma once

#include "core/CaptureBuffer.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_graphics/juce_graphics.h>

#include <cstdint>
#include <vector>

namespace ui_panels
{
// What the live view derives from the parameters on each tick.
struct LiveViewSettings
{
    double latencyX = 0.0, latencyY = 0.0; // samples; each channel is read back by its own latency
    double gainX = 1.0, gainY = 1.0;       // display gains, from the scale parameters in dB
    bool timeView = false;                 // two triggered traces instead of the X-Y cloud
    int windowLength = 2048;               // samples of the time view

    static LiveViewSettings from(const juce::AudioProcessorValueTreeState& state);

    bool operator==(const LiveViewSettings& other) const;
    bool operator!=(const LiveViewSettings& other) const { return !(*this == other); }
};

// Turns the newest captured pairs into what the live view shows: the newest 2048 aligned pairs as an
// X-Y cloud, or an oscilloscope of both channels triggered on a rising zero crossing of X. Its
// buffers are sized once, so an update allocates nothing; an update that finds neither new audio nor
// changed settings does nothing at all.
class LiveViewFeed
{
public:
    static constexpr int cloudPointCount = 2048;
    static constexpr int maximumWindowLength = 8192;

    LiveViewFeed();

    // Reads the capture and rebuilds the cloud or the traces. Returns false, and changes nothing, when
    // the capture has not changed since the last update and the settings are the same.
    bool update(CaptureBuffer& capture, const LiveViewSettings& settings);

    // The next update rebuilds even without new audio (the view showed something else meanwhile).
    void invalidate() noexcept { upToDate = false; }

    bool showsTraces() const noexcept { return traces; }
    const std::vector<juce::Point<double>>& getPoints() const noexcept { return points; }
    const std::vector<float>& getTraceX() const noexcept { return traceX; }
    const std::vector<float>& getTraceY() const noexcept { return traceY; }

private:
    // A channel read back by a latency: whole samples `offset`, then `fraction` of one by linear
    // interpolation.
    struct Delay
    {
        int offset;
        double fraction;
    };

    double delayedSample(const std::vector<double>& channel, Delay delay, int position) const noexcept;
    void feedTransferView(const LiveViewSettings& settings, int whole, Delay x, Delay y);
    void feedTimeView(const LiveViewSettings& settings, int whole, Delay x, Delay y);

    std::vector<double> x, y;
    std::vector<juce::Point<double>> points;
    std::vector<float> traceX, traceY;
    bool traces = false;

    bool upToDate = false;
    std::uint64_t lastChange = 0;
    LiveViewSettings lastSettings;
};
} // namespace ui_panels
