#pragma once

#include "visualizer/VisualizerStyle.h"

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// Where the visualizer draws, for a component size and a style: the plot area inside the margins,
// the rounded-corner radius, and the data area inset by that radius, so that the rounded corners
// never cut into the data.
struct VisualizerLayout
{
    juce::Rectangle<float> plotBounds;
    juce::Rectangle<float> dataBounds;
    float cornerRadius = 0.0f; // limited to half the shorter plot side

    static VisualizerLayout compute(float width, float height, const VisualizerStyle& style) noexcept;

    // Value (-1..+1 on both axes, +1 at the top) to component pixels.
    juce::Point<float> toPixel(double x, double y) const noexcept;

    // Sample i of n (n >= 2) of a trace, the value clamped to -1..+1.
    juce::Point<float> tracePixel(int i, int n, float value) const noexcept;
};
} // namespace ui_core
