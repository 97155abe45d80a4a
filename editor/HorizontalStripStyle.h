#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_panels
{
// How the control strip's background bar looks. Alphas replace the colours' own alpha.
struct HorizontalStripStyle
{
    juce::Colour backgroundColour{0xff555555};
    float backgroundAlpha = 1.0f;
    juce::Colour borderColour{0xff808080};
    float borderAlpha = 0.0f; // 0 draws no outline
    float borderThickness = 1.0f;
    float cornerRadius = 0.0f; // 0 gives square corners
    float shadowAlpha = 0.0f;  // 0 draws no shadow
    int shadowOffset = 0;      // vertical, in pixels
    int shadowRadius = 0;

    // Field by field, floats compared exactly: an identical style changes nothing.
    bool operator==(const HorizontalStripStyle& other) const;
    bool operator!=(const HorizontalStripStyle& other) const { return !(*this == other); }
};

// The themed style of the bar along the bottom of the window.
HorizontalStripStyle stripPreset();
} // namespace ui_panels
