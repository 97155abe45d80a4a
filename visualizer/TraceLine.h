#pragma once

#include "visualizer/ImageUpscaler.h"
#include "visualizer/RoundStroker.h"
#include "visualizer/ScanlineFiller.h"

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// The sharp line of a trace (curved joints, rounded ends), with the pixels Graphics::strokePath
// gives it: filled at the display's pixel scale into an image of its own, kept until the path,
// width, colour or scale change, and blitted only where the line is. Partial repaints (the glow
// spill's strips) then cost a blit, not a stroke. At a fractional scale, where the image's pixels
// are not the window's, and on displays too large for the filler, it fills through the framework.
class TraceLine
{
public:
    // The path changed: the next draw renders the line anew.
    void invalidate() noexcept
    {
        renderNeeded = true;
        outlineNeeded = true;
    }

    // Draws `path` in `colour` within a component of the given bounds (its local bounds). The
    // context is left with `colour` set, as a stroke leaves it.
    void draw(juce::Graphics& g, const juce::Path& path, juce::Colour colour, float width,
              juce::Rectangle<int> componentBounds);

    int getRenderCount() const noexcept { return renderCount; }

private:
    void prepareOutline(const juce::Path& path, float width, float scale);

    RoundStroker stroker;
    juce::Path outline;
    ScanlineFiller filler;
    ImageUpscaler blitter;
    juce::Image image;
    juce::Rectangle<int> content;
    std::vector<juce::Rectangle<int>> written; // the pixels of the image that are not clear
    juce::Colour renderedColour;
    float renderedWidth = 0.0f, renderedScale = 0.0f;
    float outlineWidth = 0.0f, outlineScale = 0.0f; // what `outline` was made for
    bool outlineNeeded = true;
    bool renderNeeded = true;
    int renderCount = 0;
};
} // namespace ui_core
