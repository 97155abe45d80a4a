#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

namespace ui_core
{
// What lies under the pointer, in the plot's units, as one line of text for the tooltip line: the
// values (-1..+1 on both axes) to four decimals, each with its level in dB of full scale. Made from
// plain values, the data area and what the plot shows, so it needs no component; the pointer is
// held to the data area.
class PlotReadout
{
public:
    explicit PlotReadout(juce::Rectangle<float> dataArea) noexcept
        : area(dataArea)
    {
    }

    // The X-Y view: the pointer's x and y.
    juce::String pairs(juce::Point<float> pointer) const;

    // The fitted curve (points sorted along x): the curve's point nearest to the pointer's x, its x
    // and the curve's value there.
    juce::String curve(juce::Point<float> pointer, const std::vector<juce::Point<double>>& points) const;

    // The time view: the time of the sample under the pointer from the first one (the trigger) and
    // both traces' values there. Without a sample rate the time is given in samples.
    juce::String traces(juce::Point<float> pointer, const std::vector<float>& traceX,
                        const std::vector<float>& traceY, double sampleRate) const;

    // "0.5000 (-6.0 dBFS)"; a value that shows as zero is "-inf dBFS".
    static juce::String value(double v);

private:
    // The pointer's position across the data area, 0 at the left and 1 at the right (or from the
    // bottom up), held to 0..1.
    double across(juce::Point<float> pointer) const noexcept;
    double upwards(juce::Point<float> pointer) const noexcept;

    juce::Rectangle<float> area;
};
} // namespace ui_core
