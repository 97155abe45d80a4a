#include "controls/MultiLayerLogoButton.h"

#include "controls/StyleColours.h"
#include "controls/SvgIcon.h"
#include "controls/WidgetAccessibilityHandler.h"

namespace ui_core
{
MultiLayerLogoButton::MultiLayerLogoButton(const juce::String& name)
    : juce::Button(name)
{
}

void MultiLayerLogoButton::setLayers(const juce::StringArray& svgTexts)
{
    for (std::size_t i = 0; i < layers.size(); ++i)
    {
        const auto index = static_cast<int>(i);
        layers[i].artwork = index < svgTexts.size() ? createDrawableFromSvgText(svgTexts[index]) : nullptr;
    }
    rebuildLayers();
    repaint();
}

void MultiLayerLogoButton::setStyle(const LogoLayerStyle& newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    rebuildLayers();
    repaint();
}

void MultiLayerLogoButton::rebuildLayers()
{
    for (std::size_t i = 0; i < layers.size(); ++i)
    {
        auto& layer = layers[i];
        layer.normal =
            layer.artwork != nullptr ? recolouredCopy(*layer.artwork, style.layerColours[i]) : nullptr;
        layer.hovered =
            layer.artwork != nullptr ? recolouredCopy(*layer.artwork, style.hoveredLayerColours[i]) : nullptr;
    }
    ++layerBuilds;
    layoutLayers();
}

void MultiLayerLogoButton::resized()
{
    layoutLayers();
}

void MultiLayerLogoButton::layoutLayers()
{
    // The layers are parts of one picture: each fits its view box, which they share, to the bounds.
    const auto area = getLocalBounds().toFloat();
    for (auto& layer : layers)
        for (auto* drawable : {layer.normal.get(), layer.hovered.get()})
            if (drawable != nullptr)
                fitArtworkInto(*drawable, area);
}

void MultiLayerLogoButton::paintButton(juce::Graphics& g, bool hovered, bool)
{
    if (hovered && style.hoverBackgroundAlpha > 0.0f)
    {
        g.setColour(atOpacity(style.hoverBackgroundColour, style.hoverBackgroundAlpha));
        g.fillRoundedRectangle(getLocalBounds().toFloat(), style.cornerRadius);
    }

    for (const auto& layer : layers)
        if (const auto* drawable = hovered ? layer.hovered.get() : layer.normal.get())
            drawable->draw(g, 1.0f);
}

std::unique_ptr<juce::AccessibilityHandler> MultiLayerLogoButton::createAccessibilityHandler()
{
    return WidgetAccessibilityHandler::forButton(*this, WidgetAccessibilityHandler::tooltipOrName(*this));
}
} // namespace ui_core
