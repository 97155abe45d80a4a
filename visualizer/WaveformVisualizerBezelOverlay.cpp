#include "visualizer/WaveformVisualizerBezelOverlay.h"

#include <algorithm>
#include <cmath>

namespace ui_core
{
namespace
{
float smoothstep(float t) noexcept
{
    return (3.0f - 2.0f * t) * t * t;
}

// Edge colour at full shade alpha at proportion `edgeAt`, transparent at proportion `innerAt`,
// one minus smoothstep in between.
void addShadeStops(juce::ColourGradient& gradient, juce::Colour colour, float alpha, float edgeAt,
                   float innerAt)
{
    for (int k = 1; k < 8; ++k)
    {
        const auto t = static_cast<float>(k) / 8.0f; // 0 at the edge, 1 at the inner end
        gradient.addColour(edgeAt + (innerAt - edgeAt) * t, colour.withAlpha((1.0f - smoothstep(t)) * alpha));
    }
}
} // namespace

WaveformVisualizer::BezelOverlay::BezelOverlay(const WaveformVisualizer& ownerToDraw)
    : owner(ownerToDraw)
{
    setInterceptsMouseClicks(false, false);
}

void WaveformVisualizer::BezelOverlay::paint(juce::Graphics& g)
{
    const auto& style = owner.getStyle();
    if (!style.edgeShadeEnabled && !style.cornerMaskEnabled)
        return;

    // Most of the bezel is transparent; leave its interior out of the blit.
    g.excludeClipRegion(clearInterior());
    cache.draw(g, getWidth(), getHeight(), [this](juce::Graphics& image) { render(image); });
}

juce::Rectangle<int> WaveformVisualizer::BezelOverlay::clearInterior() const
{
    const auto& style = owner.getStyle();
    const auto plot = owner.getPlotBounds();
    auto inset = owner.getCornerRadius();
    if (style.edgeShadeEnabled)
        inset = std::max(inset, style.edgeShadeDepth);
    const auto inner = plot.reduced(inset + 1.0f); // one more pixel for the anti-aliased edges
    if (inner.isEmpty())
        return {};
    const auto left = static_cast<int>(std::ceil(inner.getX()));
    const auto top = static_cast<int>(std::ceil(inner.getY()));
    const auto right = static_cast<int>(std::floor(inner.getRight()));
    const auto bottom = static_cast<int>(std::floor(inner.getBottom()));
    return right > left && bottom > top ? juce::Rectangle<int>(left, top, right - left, bottom - top)
                                        : juce::Rectangle<int>();
}

void WaveformVisualizer::BezelOverlay::render(juce::Graphics& g) const
{
    const auto& style = owner.getStyle();
    if (style.edgeShadeEnabled && !owner.getPlotBounds().isEmpty())
        drawEdgeShade(g);
    if (style.cornerMaskEnabled)
        drawCornerMask(g);
}

void WaveformVisualizer::BezelOverlay::drawEdgeShade(juce::Graphics& g) const
{
    const auto& style = owner.getStyle();
    const auto plot = owner.getPlotBounds();
    const auto d = std::min(std::min(plot.getWidth(), plot.getHeight()) / 2.0f, style.edgeShadeDepth);
    const auto alpha = style.edgeShadeAlpha;
    if (!(d >= 1.0f) || !(alpha > 0.0f))
        return;

    const auto r = owner.getCornerRadius();
    const auto colour = style.backgroundColour;
    const auto edge = colour.withAlpha(alpha);
    const auto clear = colour.withAlpha(0.0f);

    juce::Graphics::ScopedSaveState saved(g);
    juce::Path rounded;
    rounded.addRoundedRectangle(plot, r);
    g.reduceClipRegion(rounded);

    // The four bands between the corner pieces, each a linear fall-off from the edge inwards.
    const auto R = std::max(d, r);
    const auto left = plot.getX(), top = plot.getY(), right = plot.getRight(), bottom = plot.getBottom();
    auto band = [&](juce::Rectangle<float> area, juce::Point<float> from, juce::Point<float> to)
    {
        if (area.isEmpty())
            return;
        juce::ColourGradient gradient(edge, from, clear, to, false);
        addShadeStops(gradient, colour, alpha, 0.0f, 1.0f);
        g.setGradientFill(gradient);
        g.fillRect(area);
    };
    const auto innerWidth = plot.getWidth() - 2.0f * R, innerHeight = plot.getHeight() - 2.0f * R;
    band({left + R, top, innerWidth, d}, {0.0f, top}, {0.0f, top + d});
    band({left + R, bottom - d, innerWidth, d}, {0.0f, bottom}, {0.0f, bottom - d});
    band({left, top + R, d, innerHeight}, {left, 0.0f}, {left + d, 0.0f});
    band({right - d, top + R, d, innerHeight}, {right, 0.0f}, {right - d, 0.0f});

    // The corners: radial, transparent out to R - d from the corner's inner point, then rising with
    // the same profile to the edge alpha at R.
    auto corner = [&](juce::Rectangle<float> area, juce::Point<float> centre)
    {
        juce::ColourGradient gradient(clear, centre, edge, centre.translated(R, 0.0f), true);
        const auto innerAt = (R - d) / R;
        gradient.addColour(innerAt, clear);
        addShadeStops(gradient, colour, alpha, 1.0f, innerAt);
        g.setGradientFill(gradient);
        g.fillRect(area);
    };
    corner({left, top, R, R}, {left + R, top + R});
    corner({right - R, top, R, R}, {right - R, top + R});
    corner({left, bottom - R, R, R}, {left + R, bottom - R});
    corner({right - R, bottom - R, R, R}, {right - R, bottom - R});
}

void WaveformVisualizer::BezelOverlay::drawCornerMask(juce::Graphics& g) const
{
    juce::Path mask;
    mask.addRectangle(getLocalBounds().toFloat());
    const auto plot = owner.getPlotBounds();
    if (!plot.isEmpty())
    {
        const auto r = owner.getCornerRadius();
        if (r > 0.0f)
            mask.addRoundedRectangle(plot, r);
        else
            mask.addRectangle(plot);
    }
    mask.setUsingNonZeroWinding(false);
    g.setColour(owner.getStyle().cornerMaskColour);
    g.fillPath(mask);
}
} // namespace ui_core
