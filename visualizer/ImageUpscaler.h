#pragma once

#include <juce_graphics/juce_graphics.h>

#include <cstdint>
#include <vector>

namespace ui_core
{
// Draws a premultiplied ARGB image stretched by a whole factor (the glow images: 2 at display scale
// 1, 4 at scale 2; the trace lines: 1) with the bilinear filter of JUCE's high-quality resampling:
// the same sample positions, weights and rounding, so the pixels are those of Graphics::drawImage.
// It upscales only the tiles that hold something and that the clip reaches, and blits them without
// a transform; the framework's generic transformed-image fill cost several times the whole frame
// budget. Any other factor falls back to the framework.
class ImageUpscaler
{
public:
    enum class Path
    {
        automatic,
        scalar
    };

    explicit ImageUpscaler(Path path = Path::automatic) noexcept;

    // Draws `source` stretched into `placement` (component coordinates); `content` holds every pixel
    // of the source that is not transparent. `within`, when given, limits the drawing to these
    // rectangles (component coordinates, whole pixels) before the clip does.
    void draw(juce::Graphics& g, const juce::Image& source, juce::Rectangle<int> content,
              juce::Rectangle<float> placement, const juce::RectangleList<int>* within = nullptr);

    // The same, for a source whose non-transparent pixels all lie within `spread` pixels of
    // `written` (source pixels): it need not be searched for them.
    void draw(juce::Graphics& g, const juce::Image& source, const std::vector<juce::Rectangle<int>>& written,
              int spread, juce::Rectangle<int> content, juce::Rectangle<float> placement);

    // Two neighbouring source indices (clamped to the image) and the weight of the second, 0..255.
    struct Tap
    {
        int first, second;
        std::uint32_t weight;
    };

private:
    enum class Plan
    {
        nothing,   // nothing to draw
        framework, // a stretch this cannot do
        tiles      // the tiles to draw are listed
    };

    Plan plan(const juce::Image& source, juce::Rectangle<int> content, juce::Rectangle<float> placement,
              float scale, juce::Rectangle<int> physicalClip, const juce::RectangleList<int>* within,
              const std::vector<juce::Rectangle<int>>* written, int spread);
    void upscaleTiles(const juce::Image& source);
    void drawImage(juce::Graphics& g, const juce::Image& source, juce::Rectangle<int> content,
                   juce::Rectangle<float> placement, const juce::RectangleList<int>* within,
                   const std::vector<juce::Rectangle<int>>* written, int spread);
    void prepareTaps(std::vector<Tap>& taps, int outputStart, int outputEnd, int factor, int sourceSize,
                     double offset) const;
    void blitTiles(juce::Graphics& g, const juce::Image& image, juce::Point<int> origin,
                   juce::Point<int> imageOrigin) const;
    void upscaleTile(const juce::Image::BitmapData& source, juce::Image::BitmapData& target,
                     juce::Rectangle<int> tile, juce::Point<int> regionOrigin);

    bool useVector;
    // The current plan: the stretch, where the placement starts in whole output pixels and within
    // the first one, and the output pixels (relative to that start) that can be drawn.
    int factor = 1;
    juce::Point<int> origin;
    double offsetX = 0.0, offsetY = 0.0;
    juce::Rectangle<int> region;
    juce::Image scratch;
    std::vector<Tap> columnTaps, rowTaps, tileTaps;
    std::vector<std::uint16_t> columnBlend;  // one row of the vertical blend, 4 channels a pixel
    std::vector<std::uint8_t> occupied;      // per source tile
    std::vector<juce::Rectangle<int>> tiles; // output pixels to draw, relative to the placement
    std::vector<std::size_t> previousRow, currentRow;
};
} // namespace ui_core
