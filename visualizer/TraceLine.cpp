#include "visualizer/TraceLine.h"

#include <cmath>
#include <cstring>

namespace ui_core
{
void TraceLine::draw(juce::Graphics& g, const juce::Path& path, juce::Colour colour, float width,
                     juce::Rectangle<int> componentBounds)
{
    // The line is rendered opaque and blitted at the colour's opacity; this also leaves the context
    // as a stroke in this colour leaves it, so what is drawn next takes that opacity too.
    g.setColour(colour);
    if (path.isEmpty() || componentBounds.isEmpty())
        return;

    const auto scale = g.getInternalContext().getPhysicalPixelScaleFactor();
    const auto factor = juce::roundToInt(scale);
    const auto pixelWidth = componentBounds.getWidth() * factor;
    const auto pixelHeight = componentBounds.getHeight() * factor;
    // At a fractional scale the image's pixels are not the window's; a display too large for the
    // layer's filler (a wide window at scale 3 or 4) would lose the line. The framework fills both.
    if (std::abs(scale - std::round(scale)) > 1.0e-3f || scale < 1.0f ||
        !ScanlineFiller::canFill(pixelWidth, pixelHeight))
    {
        image = {};
        written.clear();
        renderNeeded = true;
        prepareOutline(path, width, scale);
        g.fillPath(outline);
        return;
    }

    if (!image.isValid() || image.getWidth() != pixelWidth || image.getHeight() != pixelHeight)
    {
        image = juce::Image(juce::Image::ARGB, pixelWidth, pixelHeight, true, juce::SoftwareImageType());
        content = {};
        written.clear();
        renderNeeded = true;
    }

    const auto opaque = colour.withAlpha(1.0f);
    if (renderNeeded || opaque != renderedColour || width != renderedWidth || scale != renderedScale)
    {
        {
            juce::Image::BitmapData data(image, juce::Image::BitmapData::writeOnly);
            for (const auto& span : written)
                std::memset(data.getPixelPointer(span.getX(), span.getY()), 0,
                            static_cast<std::size_t>(span.getWidth()) * 4);
        }
        prepareOutline(path, width, scale);
        filler.fill(image, outline, juce::AffineTransform::scale(scale), opaque);
        content = filler.getFilledArea();
        written = filler.getWrittenSpans();

        renderedColour = opaque;
        renderedWidth = width;
        renderedScale = scale;
        renderNeeded = false;
        ++renderCount;
    }

    blitter.draw(g, image, written, 0, content, componentBounds.toFloat());
}
void TraceLine::prepareOutline(const juce::Path& path, float width, float scale)
{
    if (!outlineNeeded && width == outlineWidth && scale == outlineScale)
        return;
    stroker.createOutline(outline, path, width, scale);
    outlineWidth = width;
    outlineScale = scale;
    outlineNeeded = false;
}
} // namespace ui_core
