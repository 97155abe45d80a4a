#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

namespace ui_core
{
// The colours of the logo's six layers, normal and under the mouse, and its hover background.
struct LogoLayerStyle
{
    static constexpr std::size_t layerCount = 6;

    std::array<juce::Colour, layerCount> layerColours{};
    std::array<juce::Colour, layerCount> hoveredLayerColours{};
    float cornerRadius = 8.0f;
    juce::Colour hoverBackgroundColour = juce::Colours::transparentBlack;
    float hoverBackgroundAlpha = 0.0f;

    // Field by field, floats compared exactly: an identical style changes nothing.
    bool operator==(const LogoLayerStyle& other) const;
    bool operator!=(const LogoLayerStyle& other) const { return !(*this == other); }
};

// The themed style of the control strip's logo.
LogoLayerStyle logoPreset();
} // namespace ui_core
