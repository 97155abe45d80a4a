#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// How the tooltip strip looks. The background opacity scales the background colour's alpha.
struct TooltipStripStyle
{
    juce::Colour backgroundColour{0xff1a1a1a};
    juce::Colour textColour{0xff888888};
    juce::Font font{14.0f};
    int horizontalPadding = 16;
    float cornerRadius = 0.0f;
    juce::Colour borderColour = juce::Colours::transparentBlack;
    float borderThickness = 0.0f;
    float backgroundOpacity = 1.0f;

    bool operator==(const TooltipStripStyle& other) const;
    bool operator!=(const TooltipStripStyle& other) const { return !(*this == other); }
};

// The themed style: only the text shows, no background or border.
TooltipStripStyle tooltipStripPreset();
} // namespace ui_core
