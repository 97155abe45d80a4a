#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// How the scale and smoothing read-outs look. Alphas replace the colours' own alpha.
struct ValueDisplayStyle
{
    juce::Font valueFont{14.0f};
    juce::Font labelFont{14.0f};
    juce::Colour labelColour{0xff808080};
    juce::Colour valueColour = juce::Colours::white;
    juce::Colour backgroundColour = juce::Colours::transparentBlack;
    float backgroundAlpha = 0.0f;
    juce::Colour hoverBackgroundColour{0xff555555};
    float hoverBackgroundAlpha = 0.3f;
    juce::Colour pressedBackgroundColour{0xff808080};
    float pressedBackgroundAlpha = 0.4f;
    juce::Colour borderColour{0xffd3d3d3};
    float borderAlpha = 0.5f;
    float borderThickness = 1.0f;
    float cornerRadius = 4.0f;
    int horizontalPadding = 10;
    int verticalPadding = 6;

    // Field by field, fonts included, floats compared exactly: an identical style changes nothing.
    bool operator==(const ValueDisplayStyle& other) const;
    bool operator!=(const ValueDisplayStyle& other) const { return !(*this == other); }
};

// The themed styles of the control strip's read-outs; the scale read-out shows its values in the
// monospaced font.
ValueDisplayStyle smoothingDisplayPreset();
ValueDisplayStyle scaleDisplayPreset();
} // namespace ui_core
