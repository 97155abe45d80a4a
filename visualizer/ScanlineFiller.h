#pragma once

#include <juce_graphics/juce_graphics.h>

#include <cstdint>
#include <vector>

namespace ui_core
{
// Fills a path with a solid colour into a software image exactly as the framework's renderer does
// (the same edge crossings at 1/256 pixel, winding levels, non-zero rule and anti-aliasing, so the
// same bytes), but keeps the crossings in one compact array, radix-sorted by scanline and position.
// The framework's edge table gives every scanline room for as many crossings as the busiest one
// and sorts each scanline on its own, which for the outline of a long trace is most of a frame.
class ScanlineFiller
{
public:
    // Fills `path`, transformed into image pixels, over the whole image (non-zero winding).
    void fill(juce::Image& image, const juce::Path& path, const juce::AffineTransform& transform,
              juce::Colour colour);

    // Whether an image of this size fits the crossings' sort key; a larger one is left untouched.
    static bool canFill(int width, int height) noexcept;

    // The rows and columns the last fill could have touched (empty when it drew nothing).
    juce::Rectangle<int> getFilledArea() const noexcept { return filled; }

    // The pixels the last fill wrote, as runs one pixel high.
    const std::vector<juce::Rectangle<int>>& getWrittenSpans() const noexcept { return spans; }

private:
    void collect(const juce::Path& path, const juce::AffineTransform& transform, int width, int height);
    void sortCrossings();
    void render(juce::Image::BitmapData& data, juce::PixelARGB colour);

    // A crossing: scanline (12 bits) and x in 1/256 pixel (20 bits) as the sort key above its
    // winding (16 bits, offset to be positive).
    std::vector<std::uint64_t> crossings, scratch;
    std::vector<juce::Rectangle<int>> spans;
    juce::Rectangle<int> filled;
};
} // namespace ui_core
