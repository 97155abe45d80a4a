#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

namespace ui_core
{
// Fills a path with a solid colour into a software image exactly as the framework's renderer does
// (the same edge crossings at 1/256 pixel, winding levels, non-zero rule and anti-aliasing, so the
// same bytes), but keeps the crossings in one compact array sorted by scanline. The framework's
// edge table gives every scanline room for as many crossings as the busiest one, which for the
// outline of a long trace is megabytes touched at random: most of the cost of a glow layer.
class ScanlineFiller
{
public:
    // Fills `path`, transformed into image pixels, over the whole image (non-zero winding).
    void fill(juce::Image& image, const juce::Path& path, const juce::AffineTransform& transform,
              juce::Colour colour);

private:
    struct Crossing
    {
        int x, level;
    };

    void collect(const juce::Path& path, const juce::AffineTransform& transform, int width, int height);
    void render(juce::Image::BitmapData& data, juce::PixelARGB colour);

    std::vector<int> crossingLines; // the scanline of each crossing, in the order found
    std::vector<Crossing> found;
    std::vector<int> lineStart; // first crossing of each scanline in `sorted`, plus the end
    std::vector<Crossing> sorted;
};
} // namespace ui_core
