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

void ScaledImageCache::blit(juce::Graphics& g) const
{
    if (image.isValid() && !g.isClipEmpty())
        g.drawImageTransformed(image, juce::AffineTransform::scale(1.0f / scale));
}
} // namespace ui_core
