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
    if (std::abs(scale - std::round(scale)) > 1.0e-3f || scale < 1.0f)
    {
        stroker.createOutline(outline, path, width, scale);
        g.fillPath(outline);
        return;
    }

    const auto factor = juce::roundToInt(scale);
    const auto pixelWidth = componentBounds.getWidth() * factor;
    const auto pixelHeight = componentBounds.getHeight() * factor;
    if (!image.isValid() || image.getWidth() != pixelWidth || image.getHeight() != pixelHeight)
    {
        image = juce::Image(juce::Image::ARGB, pixelWidth, pixelHeight, true, juce::SoftwareImageType());
        content = {};
        renderNeeded = true;
    }

    const auto opaque = colour.withAlpha(1.0f);
    if (renderNeeded || opaque != renderedColour || width != renderedWidth || scale != renderedScale)
    {
        {
            juce::Image::BitmapData data(image, juce::Image::BitmapData::writeOnly);
            for (int y = content.getY(); y < content.getBottom(); ++y)
                std::memset(data.getPixelPointer(content.getX(), y), 0,
                            static_cast<std::size_t>(content.getWidth()) * 4);
        }
        stroker.createOutline(outline, path, width, scale);
        filler.fill(image, outline, juce::AffineTransform::scale(scale), opaque);
        content = filler.getFilledArea();

        renderedColour = opaque;
        renderedWidth = width;
        renderedScale = scale;
        renderNeeded = false;
        ++renderCount;
    }

    blitter.draw(g, image, content, componentBounds.toFloat());
}
} // namespace ui_core
