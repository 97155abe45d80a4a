#include "visualizer/TraceGlow.h"

#include <algorithm>
#include <cmath>

namespace ui_core
{
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

    if (prepareImage(dataArea) || renderNeeded)
        render(path);

    g.setImageResamplingQuality(juce::Graphics::highResamplingQuality);
    g.drawImage(image, placement, juce::RectanglePlacement::stretchToFit);
    return true;
}

void TraceGlow::render(const juce::Path& path)
{
    image.clear(image.getBounds());
    {
        juce::Graphics glow(image);
        glow.addTransform(
            juce::AffineTransform::translation(-placement.getX(), -placement.getY()).scaled(0.5f));
        glow.setColour(parameters.colour.withAlpha(1.0f));
        glow.strokePath(path, juce::PathStrokeType(
                                  strokeWidth(parameters.alpha, parameters.intensity, parameters.thickness),
                                  juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }

    prepareBlur();
    blur->apply(image);
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
