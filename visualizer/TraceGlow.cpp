#include "visualizer/TraceGlow.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ui_core
{
namespace
{
// How far (in glow pixels) the glow's stroke may stray from the trace: its blur spreads it over
// several pixels, so this cannot show.
constexpr float glowStraightness = 0.1f;
} // namespace

void TraceGlow::update(const Parameters& p) noexcept
{
    if (p.thickness != parameters.thickness || p.spread != parameters.spread ||
        p.spreadScale != parameters.spreadScale)
        restartSettling();
    if (p.colour != parameters.colour || p.thickness != parameters.thickness ||
        p.intensity != parameters.intensity || p.spread != parameters.spread ||
        p.spreadScale != parameters.spreadScale || p.alpha != parameters.alpha)
        renderNeeded = true;
    parameters = p;
}

float TraceGlow::strokeWidth(float alpha, float intensity, float thickness) noexcept
{
    return (std::max(alpha * intensity, 0.01f) * 0.8f + 0.8f) * thickness;
}

bool TraceGlow::draw(juce::Graphics& g, const juce::Path& path, juce::Rectangle<float> dataArea)
{
    if (path.isEmpty())
        return false;
    renderIfNeeded(path, dataArea);
    // The blur spreads the stroke's pixels by its radius, and nowhere else.
    upscaler.draw(g, image, filler.getWrittenSpans(), blur->getRadius(), glowArea, placement);
    return true;
}

void TraceGlow::renderIfNeeded(const juce::Path& path, juce::Rectangle<float> dataArea)
{
    if (prepareImage(dataArea) || renderNeeded)
        render(path);
}

void TraceGlow::render(const juce::Path& path)
{
    // Clear what the last render left, then the stroke at half resolution, widened, in the glow
    // colour drawn opaque.
    {
        juce::Image::BitmapData data(image, juce::Image::BitmapData::writeOnly);
        for (int y = glowArea.getY(); y < glowArea.getBottom(); ++y)
            std::memset(data.getPixelPointer(glowArea.getX(), y), 0,
                        static_cast<std::size_t>(glowArea.getWidth()) * 4);
    }
    stroker.createOutline(outline, path,
                          strokeWidth(parameters.alpha, parameters.intensity, parameters.thickness), 0.5f,
                          glowStraightness);
    const auto toImage =
        juce::AffineTransform::translation(-placement.getX(), -placement.getY()).scaled(0.5f);
    const auto stroke =
        outline.getBoundsTransformed(toImage).getSmallestIntegerContainer().expanded(1).getIntersection(
            image.getBounds());
    filler.fill(image, outline, toImage, parameters.colour.withAlpha(1.0f));

    prepareBlur();
    if (stroke.isEmpty())
    {
        glowArea = {};
    }
    else
    {
        // Everything away from the stroke is clear and stays clear: only its surroundings blur.
        blur->applyWithin(image, filler.getWrittenSpans());
        glowArea = stroke.expanded(blur->getRadius()).getIntersection(image.getBounds());
    }
    renderNeeded = false;
    ++renderCount;
}

bool TraceGlow::prepareImage(juce::Rectangle<float> dataArea)
{
    const auto padding =
        parameters.thickness * parameters.spread * parameters.spreadScale + parameters.thickness;
    const auto halfWidth =
        std::max(1, static_cast<int>(std::ceil(std::max(0.0f, dataArea.getWidth() + 2.0f * padding) / 2.0f)));
    const auto halfHeight = std::max(
        1, static_cast<int>(std::ceil(std::max(0.0f, dataArea.getHeight() + 2.0f * padding) / 2.0f)));
    const juce::Rectangle<float> newPlacement(dataArea.getX() - padding, dataArea.getY() - padding,
                                              2.0f * static_cast<float>(halfWidth),
                                              2.0f * static_cast<float>(halfHeight));

    if (!image.isValid() || image.getWidth() != halfWidth || image.getHeight() != halfHeight ||
        newPlacement != placement)
    {
        image = juce::Image(juce::Image::ARGB, halfWidth, halfHeight, true, juce::SoftwareImageType());
        placement = newPlacement;
        glowArea = {};
        return true;
    }
    return false;
}

void TraceGlow::prepareBlur()
{
    const auto key = StackBlurStrategy::keyForMeasure(parameters.thickness);
    if (blur != nullptr && key == blurKey)
        return;
    if (blur != nullptr)
        restartSettling();
    blur = std::make_unique<StackBlurStrategy>(StackBlurStrategy::radiusForKey(key));
    blurKey = key;
    ++blurGeneration;
}

void TraceGlow::reset() noexcept
{
    image = {};
    placement = {};
    glowArea = {};
    settleCount = 0;
    renderNeeded = true;
}

bool TraceGlow::stepSettling() noexcept
{
    if (settleCount > 0)
        --settleCount;
    return settleCount > 0;
}
} // namespace ui_core
