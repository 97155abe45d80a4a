#pragma once

#include "controls/LogoLayerStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

namespace ui_core
{
// The logo: up to six SVG layers drawn in black, each recoloured with its own normal and hovered
// colour, stacked in order.
class MultiLayerLogoButton final : public juce::Button
{
public:
    explicit MultiLayerLogoButton(const juce::String& name);

    // Up to six SVG texts, bottom layer first; texts beyond the sixth are ignored, and an empty or
    // unreadable text leaves its layer empty.
    void setLayers(const juce::StringArray& svgTexts);

    void setStyle(const LogoLayerStyle& newStyle);
    const LogoLayerStyle& getStyle() const noexcept { return style; }

    // How often the recoloured copies were rebuilt (on a layer or style change only).
    int getLayerBuildCount() const noexcept { return layerBuilds; }

    void resized() override;
    void paintButton(juce::Graphics& g, bool hovered, bool pressed) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    struct Layer
    {
        std::unique_ptr<juce::Drawable> artwork, normal, hovered;
    };

    void rebuildLayers();
    void layoutLayers();

    LogoLayerStyle style;
    std::array<Layer, LogoLayerStyle::layerCount> layers;
    int layerBuilds = 0;
};
} // namespace ui_core
