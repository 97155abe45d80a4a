#include "visualizer/VisualizerLayout.h"

#include <algorithm>

namespace ui_core
{
VisualizerLayout VisualizerLayout::compute(float width, float height, const VisualizerStyle& style) noexcept
{
    VisualizerLayout layout;
    const auto plotWidth = width - style.marginLeft - style.marginRight;
    const auto plotHeight = height - style.marginTop - style.marginBottom;

    // Margins larger than the component leave nothing to draw in, in both directions; a negative
    // size must not turn into a positive data height through a negative radius.
    if (!(plotWidth > 0.0f && plotHeight > 0.0f))
    {
        layout.plotBounds = {style.marginLeft, style.marginTop, 0.0f, 0.0f};
        layout.dataBounds = layout.plotBounds;
        return layout;
    }

    layout.plotBounds = {style.marginLeft, style.marginTop, plotWidth, plotHeight};
    const auto r = std::min(std::min(plotWidth, plotHeight) * 0.5f, std::max(style.cornerRadius, 0.0f));
    layout.cornerRadius = r;
    layout.dataBounds = {style.marginLeft + r, style.marginTop + r, std::max(0.0f, plotWidth - 2.0f * r),
                         std::max(0.0f, plotHeight - 2.0f * r)};
    return layout;
}

juce::Point<float> VisualizerLayout::toPixel(double x, double y) const noexcept
{
    const auto px = dataBounds.getX() + (x + 1.0) * 0.5 * dataBounds.getWidth();
    const auto py = dataBounds.getY() + (1.0 - (y + 1.0) * 0.5) * dataBounds.getHeight();
    return {static_cast<float>(px), static_cast<float>(py)};
}

juce::Point<float> VisualizerLayout::tracePixel(int i, int n, float value) const noexcept
{
    const auto halfHeight = dataBounds.getHeight() * 0.5f;
    const auto x =
        dataBounds.getX() + static_cast<float>(i) / static_cast<float>(n - 1) * dataBounds.getWidth();
    const auto y = dataBounds.getY() + halfHeight - std::clamp(value, -1.0f, 1.0f) * halfHeight;
    return {x, y};
}
} // namespace ui_core
