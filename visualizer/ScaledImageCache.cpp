#include "visualizer/ScaledImageCache.h"

#include <algorithm>
#include <cmath>

namespace ui_core
{
float ScaledImageCache::physicalScaleOf(juce::Graphics& g) noexcept
{
    return std::max(1.0f, g.getInternalContext().getPhysicalPixelScaleFactor());
}

bool ScaledImageCache::needsRender(float wantedScale) const noexcept
{
    return !valid || std::abs(scale - wantedScale) >= 0.01f;
}

bool ScaledImageCache::prepareImage(int width, int height, float newScale)
{
    if (width < 1 || height < 1)
    {
        image = {};
        valid = false;
        return false;
    }

    scale = newScale;
    const auto imageWidth = std::max(1, juce::roundToInt(static_cast<float>(width) * scale));
    const auto imageHeight = std::max(1, juce::roundToInt(static_cast<float>(height) * scale));
    if (image.isValid() && image.getWidth() == imageWidth && image.getHeight() == imageHeight)
        image.clear(image.getBounds());
    else
        image = juce::Image(juce::Image::ARGB, imageWidth, imageHeight, true, juce::SoftwareImageType());
    return true;
}

void ScaledImageCache::keepOpaquePart(juce::Rectangle<float> opaqueArea)
{
    opaquePart = {};
    opaqueBounds = {};
    // Whole component pixels inside the area; at a fractional scale they would not be whole image
    // pixels, so there the layer is blended as it is.
    const auto left = static_cast<int>(std::ceil(opaqueArea.getX()));
    const auto top = static_cast<int>(std::ceil(opaqueArea.getY()));
    const auto right = static_cast<int>(std::floor(opaqueArea.getRight()));
    const auto bottom = static_cast<int>(std::floor(opaqueArea.getBottom()));
    if (right <= left || bottom <= top || std::abs(scale - std::round(scale)) > 1.0e-3f)
        return;

    const auto factor = juce::roundToInt(scale);
    const auto area = juce::Rectangle<int>(left, top, right - left, bottom - top) * factor;
    if (!image.getBounds().contains(area))
        return;
    opaquePart = image.getClippedImage(area).convertedToFormat(juce::Image::RGB);
    opaqueBounds = {left, top, right - left, bottom - top};
}

void ScaledImageCache::blit(juce::Graphics& g) const
{
    if (!image.isValid() || g.isClipEmpty())
        return;
    if (!opaquePart.isValid())
    {
        g.drawImageTransformed(image, juce::AffineTransform::scale(1.0f / scale));
        return;
    }
    {
        juce::Graphics::ScopedSaveState saved(g);
        g.reduceClipRegion(opaqueBounds);
        g.drawImageTransformed(opaquePart, juce::AffineTransform::scale(1.0f / scale)
                                               .translated(static_cast<float>(opaqueBounds.getX()),
                                                           static_cast<float>(opaqueBounds.getY())));
    }
    juce::Graphics::ScopedSaveState saved(g);
    g.excludeClipRegion(opaqueBounds);
    g.drawImageTransformed(image, juce::AffineTransform::scale(1.0f / scale));
}
} // namespace ui_core
