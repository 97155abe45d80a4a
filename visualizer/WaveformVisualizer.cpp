#include "visualizer/WaveformVisualizer.h"

#include "visualizer/WaveformVisualizerBezelOverlay.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ui_core
{

WaveformVisualizer::WaveformVisualizer()
    : bezel(std::make_unique<BezelOverlay>(*this))
    , throttle(*this, [this] { serveFrame(); })
{
    setOpaque(false);
    addAndMakeVisible(*bezel);
    updateLayout();
}

WaveformVisualizer::~WaveformVisualizer() = default;

void WaveformVisualizer::setStyle(const VisualizerStyle& newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    // With the corner mask in an opaque colour, that colour is also laid under the plot (so the
    // rounded corners blend into it, as into the panel), and the display paints every pixel: the
    // window need not paint what lies behind it on every frame.
    setOpaque(coversPanel());
    updateLayout();
    backgroundCache.invalidate();
    bezel->invalidate();
    rebuildPaths();
    contentChanged();
    bezel->repaint();
}

void WaveformVisualizer::setDisplayMode(DisplayMode mode)
{
    const auto newScatter = mode == DisplayMode::scatter;
    if (newScatter == scatter)
        return;
    scatter = newScatter;
    mainGlow.reset();
    secondGlow.reset();
    rebuildPaths();
    contentChanged();
}

void WaveformVisualizer::setGridStrength(GridStrength strength)
{
    const auto multiplier = strength == GridStrength::strong   ? 6.0f
                            : strength == GridStrength::medium ? 3.0f
                                                               : 1.0f;
    if (multiplier == gridStrength)
        return;
    gridStrength = multiplier;
    backgroundCache.invalidate();
    repaint();
}

void WaveformVisualizer::setPoints(const std::vector<juce::Point<double>>& newPoints)
{
    points.assign(newPoints.begin(), newPoints.end());
    hasPoints = true;
    timeMode = false;
    buildPointsPath();
    secondPath.clear();
    contentChanged();
}

void WaveformVisualizer::setTraces(const std::vector<float>& newTraceX, const std::vector<float>& newTraceY)
{
    traceX.assign(newTraceX.begin(), newTraceX.end());
    traceY.assign(newTraceY.begin(), newTraceY.end());
    timeMode = true;
    buildTracePaths();
    contentChanged();
}

void WaveformVisualizer::clearTraces()
{
    traceX.clear();
    traceY.clear();
    if (timeMode)
    {
        buildTracePaths();
        contentChanged();
    }
}

void WaveformVisualizer::requestPaint()
{
    plotOutdated = true;
    throttle.request();
}

void WaveformVisualizer::contentChanged()
{
    invalidateTraces();
    restartSettling();
    requestPaint();
    if (onContentChanged)
        onContentChanged();
}

void WaveformVisualizer::restartSettling() noexcept
{
    mainGlow.restartSettling();
    secondGlow.restartSettling();
}

void WaveformVisualizer::serveFrame()
{
    // Only a change of what the plot shows repaints it; the frames that follow keep the glow spill
    // refreshing until it shows the latest content, without repainting an unchanged picture.
    if (plotOutdated)
    {
        plotOutdated = false;
        repaint();
    }

    const auto mainSettling = mainGlow.stepSettling();
    const auto secondSettling = secondGlow.stepSettling();
    if (style.glowEnabled && (mainSettling || secondSettling))
        throttle.request();

    if (onFramePainted)
        onFramePainted();
}

void WaveformVisualizer::resized()
{
    updateLayout();
    bezel->setBounds(getLocalBounds());
    backgroundCache.invalidate();
    bezel->invalidate();
    rebuildPaths();
    plotOutdated = true;
    invalidateTraces();
}

void WaveformVisualizer::invalidateTraces() noexcept
{
    mainGlow.invalidate();
    secondGlow.invalidate();
    mainLine.invalidate();
    secondLine.invalidate();
}

void WaveformVisualizer::updateLayout()
{
    layout =
        VisualizerLayout::compute(static_cast<float>(getWidth()), static_cast<float>(getHeight()), style);
}

void WaveformVisualizer::rebuildPaths()
{
    if (timeMode)
        buildTracePaths();
    else
        buildPointsPath();
}

void WaveformVisualizer::buildPointsPath()
{
    mainPath.clear();
    if (!hasPoints || points.size() < 2)
        return;

    if (scatter)
    {
        for (const auto& p : points)
        {
            const auto pixel = layout.toPixel(p.x, p.y);
            mainPath.startNewSubPath(pixel);
            // A stroke with round caps turns this tiny segment into a dot of the stroke's diameter.
            mainPath.lineTo(pixel.translated(0.01f, 0.0f));
        }
        return;
    }

    // A curve sorted along x (the fitted table) is thinned to its envelope in each column of the
    // display's pixels; a cloud, which doubles back, keeps every point.
    const auto n = points.size();
    const auto sorted =
        std::is_sorted(points.begin(), points.end(), [](const auto& a, const auto& b) { return a.x < b.x; });
    if (!sorted)
    {
        mainPath.preallocateSpace(static_cast<int>(n) * 3);
        mainPath.startNewSubPath(layout.toPixel(points.front().x, points.front().y));
        for (std::size_t i = 1; i < n; ++i)
            mainPath.lineTo(layout.toPixel(points[i].x, points[i].y));
        return;
    }

    mainPath.preallocateSpace(envelopeSpace(n));
    envelope.begin(mainPath, pathScale);
    for (const auto& p : points)
        envelope.add(layout.toPixel(p.x, p.y));
    envelope.end();
}

int WaveformVisualizer::envelopeSpace(std::size_t count) const noexcept
{
    // Four vertices a column at most, three path elements each.
    const auto columns = static_cast<std::size_t>(std::ceil(pathScale * layout.dataBounds.getWidth())) + 2;
    return static_cast<int>(std::min(count, 4 * columns) + 2) * 3;
}

void WaveformVisualizer::buildTracePaths()
{
    mainPath.clear();
    secondPath.clear();
    const auto n = static_cast<int>(traceX.size());
    if (n < 2 || traceY.size() != traceX.size())
        return;

    auto build = [&](juce::Path& path, const std::vector<float>& trace)
    {
        path.preallocateSpace(envelopeSpace(trace.size()));
        envelope.begin(path, pathScale);
        for (int i = 0; i < n; ++i)
            envelope.add(layout.tracePixel(i, n, trace[static_cast<std::size_t>(i)]));
        envelope.end();
    };
    build(mainPath, traceX);
    build(secondPath, traceY);
}

TraceGlow::Parameters WaveformVisualizer::mainGlowParameters() const noexcept
{
    return {style.traceColour, style.traceThickness,  style.glowIntensity,
            style.glowSpread,  style.glowSpreadScale, 1.0f};
}

TraceGlow::Parameters WaveformVisualizer::secondGlowParameters() const noexcept
{
    return {style.secondTraceColour, style.secondTraceThickness, style.glowIntensity,
            style.glowSpread,        style.glowSpreadScale,      style.secondTraceAlpha};
}

void WaveformVisualizer::paint(juce::Graphics& g)
{
    // Traces and the fitted curve are thinned for the display's pixels.
    if (const auto scale = ScaledImageCache::physicalScaleOf(g); scale != pathScale)
    {
        pathScale = scale;
        rebuildPaths();
        invalidateTraces();
    }

    // With the panel's colour under the plot, every pixel of the background is opaque.
    const auto opaque = coversPanel()                       ? getLocalBounds().toFloat()
                        : style.backgroundColour.isOpaque() ? layout.plotBounds.reduced(layout.cornerRadius)
                                                            : juce::Rectangle<float>();
    backgroundCache.draw(
        g, getWidth(), getHeight(), [this](juce::Graphics& image) { renderBackground(image); }, opaque);

    // Margins larger than the component leave only the background.
    bool mainDrew = false, secondDrew = false;
    if (!layout.plotBounds.isEmpty())
    {
        if (timeMode)
            drawTraces(g, mainDrew, secondDrew);
        else
            drawPoints(g, mainDrew);
    }

    // A glow that is not shown has nothing to settle.
    if (!mainDrew)
        mainGlow.settle();
    if (!secondDrew)
        secondGlow.settle();
}

bool WaveformVisualizer::coversPanel() const noexcept
{
    return style.cornerMaskEnabled && style.cornerMaskColour.isOpaque() && style.backgroundColour.isOpaque();
}

void WaveformVisualizer::renderBackground(juce::Graphics& g) const
{
    if (coversPanel())
        g.fillAll(style.cornerMaskColour);
    const auto plot = layout.plotBounds;
    g.setColour(style.backgroundColour);
    if (layout.cornerRadius > 0.0f)
        g.fillRoundedRectangle(plot, layout.cornerRadius);
    else
        g.fillRect(plot);

    if (style.gridEnabled && gridStep > 0.0)
        drawGrid(g);
}

void WaveformVisualizer::drawGrid(juce::Graphics& g) const
{
    const auto plot = layout.plotBounds;
    const auto data = layout.dataBounds;
    {
        juce::Graphics::ScopedSaveState saved(g);
        if (layout.cornerRadius > 0.0f)
        {
            juce::Path rounded;
            rounded.addRoundedRectangle(plot, layout.cornerRadius);
            g.reduceClipRegion(rounded);
        }

        auto colourAt = [this](double c, int index)
        {
            juce::Colour colour;
            float alpha;
            if (std::abs(c - 0.5) <= 0.001)
                colour = style.centreLineColour, alpha = style.centreLineAlpha;
            else if (style.majorInterval < 1 || std::abs(index) % style.majorInterval != 0)
                colour = style.minorLineColour, alpha = style.minorLineAlpha;
            else
                colour = style.majorLineColour, alpha = style.majorLineAlpha;
            return colour.withAlpha(std::min(1.0f, alpha * gridStrength));
        };

        // Vertical lines, then horizontal ones; index 0 is the centre, the edges get no line.
        for (const bool vertical : {true, false})
        {
            int drawn = 0;
            int index = -static_cast<int>(std::lround(0.5 / gridStep));
            for (int k = 0; drawn < 100; ++k, ++index)
            {
                const auto c = k * gridStep;
                if (c > 1.0)
                    break;
                if (c < 0.0 || std::abs(c) <= 0.001 || std::abs(c - 1.0) <= 0.001)
                    continue;
                g.setColour(colourAt(c, index));
                if (vertical)
                {
                    const auto x = std::trunc(data.getX() + static_cast<float>(c) * data.getWidth());
                    g.fillRect(juce::Rectangle<float>(x, plot.getY(), 1.0f, plot.getHeight()));
                }
                else
                {
                    const auto y = std::trunc(data.getY() + static_cast<float>(1.0 - c) * data.getHeight());
                    g.fillRect(juce::Rectangle<float>(plot.getX(), y, plot.getWidth(), 1.0f));
                }
                ++drawn;
            }
        }
    }

    const auto borderAlpha = std::min(1.0f, gridStrength * style.borderAlpha);
    if (borderAlpha > 0.0f)
    {
        const auto t = style.borderThickness;
        g.setColour(style.borderColour.withAlpha(borderAlpha));
        g.drawRoundedRectangle(plot.reduced(t / 2.0f), std::max(0.0f, layout.cornerRadius - t / 2.0f), t);
    }
}

void WaveformVisualizer::drawPoints(juce::Graphics& g, bool& mainDrew)
{
    if (mainPath.isEmpty())
        return;

    if (style.glowEnabled)
    {
        mainGlow.update(mainGlowParameters());
        mainDrew = mainGlow.draw(g, mainPath, layout.dataBounds);
        mainLine.draw(g, mainPath, style.traceCoreColour, style.traceCoreThickness, getLocalBounds());
    }
    else
    {
        mainLine.draw(g, mainPath, style.traceColour, style.traceThickness, getLocalBounds());
    }
}

void WaveformVisualizer::drawTraces(juce::Graphics& g, bool& mainDrew, bool& secondDrew)
{
    if (mainPath.isEmpty() || secondPath.isEmpty())
        return;

    const auto secondAlpha = style.secondTraceAlpha;
    if (style.glowEnabled)
    {
        secondGlow.update(secondGlowParameters());
        secondDrew = secondGlow.draw(g, secondPath, layout.dataBounds);
        secondLine.draw(g, secondPath, style.secondTraceCoreColour.withMultipliedAlpha(secondAlpha),
                        style.secondTraceThickness, getLocalBounds());

        mainGlow.update(mainGlowParameters());
        mainDrew = mainGlow.draw(g, mainPath, layout.dataBounds);
        mainLine.draw(g, mainPath, style.traceCoreColour, style.traceCoreThickness, getLocalBounds());
    }
    else
    {
        secondLine.draw(g, secondPath, style.secondTraceColour.withMultipliedAlpha(secondAlpha),
                        style.secondTraceThickness, getLocalBounds());
        mainLine.draw(g, mainPath, style.traceColour, style.traceThickness, getLocalBounds());
    }
}

void WaveformVisualizer::forward(const juce::MouseEvent& e, const char* name)
{
    if (onMouseEvent)
        onMouseEvent(e, name);
}

void WaveformVisualizer::mouseDown(const juce::MouseEvent& e)
{
    forward(e, "mouseDown");
}

void WaveformVisualizer::mouseDrag(const juce::MouseEvent& e)
{
    forward(e, "mouseDrag");
}

void WaveformVisualizer::mouseUp(const juce::MouseEvent& e)
{
    forward(e, "mouseUp");
}

void WaveformVisualizer::mouseMove(const juce::MouseEvent& e)
{
    forward(e, "mouseMove");
}

void WaveformVisualizer::mouseExit(const juce::MouseEvent& e)
{
    forward(e, "mouseExit");
}

void WaveformVisualizer::mouseDoubleClick(const juce::MouseEvent& e)
{
    forward(e, "mouseDoubleClick");
}
} // namespace ui_core
