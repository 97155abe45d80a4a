#include "visualizer/GlowSpillOverlay.h"

#include <algorithm>
#include <cmath>

namespace ui_core
{
namespace
{
// How far (in spill pixels) the spill's stroke may stray from the trace: its blur spreads it over
// many pixels, so this cannot show.
constexpr float spillStraightness = 0.25f;

// The largest whole-pixel rectangle inside `area`.
juce::Rectangle<int> wholePixelsInside(juce::Rectangle<float> area)
{
    const auto left = static_cast<int>(std::ceil(area.getX()));
    const auto top = static_cast<int>(std::ceil(area.getY()));
    const auto right = static_cast<int>(std::floor(area.getRight()));
    const auto bottom = static_cast<int>(std::floor(area.getBottom()));
    return right > left && bottom > top ? juce::Rectangle<int>(left, top, right - left, bottom - top)
                                        : juce::Rectangle<int>();
}

// Every channel byte times the gain, saturating.
void amplify(juce::Image::BitmapData& data, float gain)
{
    const auto factor = static_cast<std::uint32_t>(std::lround(gain * 256.0f));
    for (int y = 0; y < data.height; ++y)
    {
        auto* p = data.getLinePointer(y);
        for (int i = 0; i < data.width * 4; ++i)
            p[i] = static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (factor * p[i]) >> 8));
    }
}

void scalePixel(std::uint8_t* p, std::uint32_t factor)
{
    for (int c = 0; c < 4; ++c)
        p[c] = static_cast<std::uint8_t>((p[c] * factor) >> 8);
}

// Rows and columns near the image's edge fade out, so the spill never ends in a hard line.
void fadeEdges(juce::Image::BitmapData& data, int n)
{
    for (int i = 0; i < n; ++i)
    {
        const auto u = (static_cast<float>(i) + 0.5f) / static_cast<float>(n);
        const auto factor = 1u + static_cast<std::uint32_t>(255.0f * (3.0f - 2.0f * u) * u * u);
        for (const int y : {i, data.height - 1 - i})
            for (int x = 0; x < data.width; ++x)
                scalePixel(data.getPixelPointer(x, y), factor);
        for (const int x : {i, data.width - 1 - i})
            for (int y = 0; y < data.height; ++y)
                scalePixel(data.getPixelPointer(x, y), factor);
    }
}
} // namespace

GlowSpillOverlay::GlowSpillOverlay()
    : clock([] { return juce::Time::getMillisecondCounterHiRes(); })
{
    setInterceptsMouseClicks(false, false);
}

GlowSpillOverlay::~GlowSpillOverlay()
{
    detach();
}

void GlowSpillOverlay::setClock(Clock newClock)
{
    clock = std::move(newClock);
}

void GlowSpillOverlay::setVisualizer(WaveformVisualizer* newVisualizer)
{
    if (newVisualizer == visualizer.getComponent())
        return;
    detach();
    visualizer = newVisualizer;
    if (newVisualizer != nullptr)
    {
        newVisualizer->addComponentListener(this);
        newVisualizer->onContentChanged = [this] { updateBounds(); };
        newVisualizer->onFramePainted = [this] { refreshRequested(); };
        updateBounds();
    }
    repaint();
}

void GlowSpillOverlay::detach()
{
    if (auto* old = visualizer.getComponent())
    {
        old->removeComponentListener(this);
        old->onContentChanged = nullptr;
        old->onFramePainted = nullptr;
    }
    visualizer = nullptr;
}

void GlowSpillOverlay::componentMovedOrResized(juce::Component&, bool, bool)
{
    updateBounds();
}

void GlowSpillOverlay::componentVisibilityChanged(juce::Component&)
{
    repaint();
}

void GlowSpillOverlay::componentBeingDeleted(juce::Component& component)
{
    // Its callbacks die with it; only the listener and the pointer need letting go.
    if (&component == visualizer.getComponent())
    {
        component.removeComponentListener(this);
        visualizer = nullptr;
        repaint();
    }
}

void GlowSpillOverlay::resized()
{
    dirty = true;
}

void GlowSpillOverlay::moved()
{
    dirty = true;
}

void GlowSpillOverlay::updateBounds()
{
    auto* source = visualizer.getComponent();
    auto* parent = getParentComponent();
    if (source == nullptr || parent == nullptr)
        return;

    const auto plot = source->getPlotBounds();
    if (plot.isEmpty())
    {
        setBounds({});
        return;
    }

    const auto& style = source->getStyle();
    const auto area = parent->getLocalArea(source, plot);
    const auto parentWidth = static_cast<float>(parent->getWidth());
    const auto parentHeight = static_cast<float>(parent->getHeight());
    const auto left = std::max(0.0f, area.getX() - style.spillMarginSides);
    const auto right = std::min(parentWidth, area.getRight() + style.spillMarginSides);
    const auto top = std::max(0.0f, area.getY() - style.spillMarginTop);
    const auto bottom = std::min(parentHeight, area.getBottom() + style.spillMarginBottom);
    if (right < left || bottom < top)
    {
        setBounds({});
        return;
    }
    setBounds(juce::Rectangle<float>(left, top, right - left, bottom - top).getSmallestIntegerContainer());
}

juce::Rectangle<float> GlowSpillOverlay::plotInOverlay(const WaveformVisualizer& source) const
{
    return getLocalArea(&source, source.getPlotBounds());
}

void GlowSpillOverlay::refreshRequested()
{
    auto* source = visualizer.getComponent();
    if (source == nullptr || !isVisible() || getWidth() <= 0 || getHeight() <= 0)
        return;

    const auto now = clock();
    if (now - lastRefreshTime < minimumRefreshInterval)
        return;
    lastRefreshTime = now;
    needsRender = true;

    // Only the strips around the plot show the spill; the plot's interior is never repainted here.
    const auto inner = wholePixelsInside(plotInOverlay(*source).getIntersection(getLocalBounds().toFloat()));
    if (inner.isEmpty())
    {
        repaint();
        return;
    }
    const auto width = getWidth(), height = getHeight();
    repaint(0, 0, width, inner.getY());
    repaint(0, inner.getBottom(), width, height - inner.getBottom());
    repaint(0, inner.getY(), inner.getX(), inner.getHeight());
    repaint(inner.getRight(), inner.getY(), width - inner.getRight(), inner.getHeight());
}

void GlowSpillOverlay::paint(juce::Graphics& g)
{
    auto* source = visualizer.getComponent();
    if (source == nullptr || !source->isVisible())
        return;
    const auto& style = source->getStyle();
    if (!style.glowEnabled)
        return;
    const auto opacity = std::clamp(style.glowIntensity, 0.0f, 1.0f) * style.spillOpacity;
    if (!(opacity > 0.0f) || source->getMainPath().isEmpty())
        return;

    const auto plot = plotInOverlay(*source);
    const auto radius = source->getCornerRadius();
    if (plot.reduced(radius).contains(g.getClipBounds().toFloat()))
        return;

    const auto imageWidth = std::max(1, static_cast<int>(std::ceil(getWidth() / 4.0)));
    const auto imageHeight = std::max(1, static_cast<int>(std::ceil(getHeight() / 4.0)));
    const juce::Rectangle<float> newPlacement(0.0f, 0.0f, 4.0f * static_cast<float>(imageWidth),
                                              4.0f * static_cast<float>(imageHeight));
    if (!image.isValid() || image.getWidth() != imageWidth || image.getHeight() != imageHeight ||
        newPlacement != placement)
    {
        image = juce::Image(juce::Image::ARGB, imageWidth, imageHeight, true, juce::SoftwareImageType());
        placement = newPlacement;
        dirty = true;
    }

    if (dirty || needsRender)
    {
        render(*source);
        dirty = false;
        needsRender = false;
        ++renderCount;
    }

    // Only outside the rounded plot: the straight part of that region is a list of rectangles, and
    // only the corners need the rounded outline as a clip.
    g.setOpacity(opacity);
    const auto plotPixels = plot.getSmallestIntegerContainer();
    juce::RectangleList<int> ring(getLocalBounds());
    ring.subtract(plotPixels);
    {
        juce::Graphics::ScopedSaveState saved(g);
        if (g.reduceClipRegion(ring))
            upscaler.draw(g, image, image.getBounds(), placement, &ring);
    }
    if (radius <= 0.0f)
        return;

    juce::Path outside;
    outside.addRectangle(getLocalBounds().toFloat());
    outside.addRoundedRectangle(plot, radius);
    outside.setUsingNonZeroWinding(false);
    const auto cornerSize = static_cast<int>(std::ceil(radius)) + 1;
    for (const auto& corner : {plotPixels.withSize(cornerSize, cornerSize),
                               plotPixels.withLeft(plotPixels.getRight() - cornerSize).withHeight(cornerSize),
                               plotPixels.withTop(plotPixels.getBottom() - cornerSize).withWidth(cornerSize),
                               plotPixels.withLeft(plotPixels.getRight() - cornerSize)
                                   .withTop(plotPixels.getBottom() - cornerSize)})
    {
        juce::Graphics::ScopedSaveState saved(g);
        if (!g.reduceClipRegion(corner))
            continue;
        g.reduceClipRegion(outside);
        if (g.isClipEmpty())
            continue;
        const juce::RectangleList<int> within(corner);
        upscaler.draw(g, image, image.getBounds(), placement, &within);
    }
}

void GlowSpillOverlay::render(const WaveformVisualizer& source)
{
    const auto& style = source.getStyle();
    image.clear(image.getBounds());

    const auto width =
        std::max(4.0f, (std::max(style.glowIntensity, 0.01f) * 0.8f + 0.8f) * style.traceThickness);
    const auto origin = getLocalPoint(&source, juce::Point<float>()) - placement.getPosition();
    stroker.createOutline(outline, source.getMainPath(), width, 0.25f, spillStraightness);
    filler.fill(image, outline, juce::AffineTransform::translation(origin).scaled(0.25f), style.traceColour);

    const auto key =
        StackBlurStrategy::keyForMeasure(style.traceThickness * 2.0f * style.spillBlurScale * 0.25f);
    if (blur == nullptr || key != blurKey)
    {
        blur = std::make_unique<StackBlurStrategy>(StackBlurStrategy::radiusForKey(key));
        blurKey = key;
        ++blurGeneration;
    }
    blur->applyWithin(image, filler.getWrittenSpans());

    juce::Image::BitmapData data(image, juce::Image::BitmapData::readWrite);
    const auto gain = std::clamp(static_cast<float>(key + 1) / std::max(0.5f, width * 0.25f), 1.0f, 16.0f);
    if (gain > 1.0f)
        amplify(data, gain);

    const auto fade = std::min({std::max(1, static_cast<int>(std::lround(style.spillEdgeFade * 0.25f))),
                                data.width / 2, data.height / 2});
    fadeEdges(data, fade);
}
} // namespace ui_core
