#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// How an IconButton looks in each state. Transparent is fully transparent black.
struct IconButtonStyle
{
    juce::Colour iconColour = juce::Colours::lightgrey;
    juce::Colour iconHoveredColour = juce::Colours::white;
    juce::Colour iconPressedColour = juce::Colours::grey;
    juce::Colour iconDisabledColour = juce::Colours::grey;
    juce::Colour backgroundColour = juce::Colours::transparentBlack;
    juce::Colour backgroundHoveredColour = juce::Colours::transparentBlack;
    juce::Colour backgroundPressedColour = juce::Colours::transparentBlack;
    juce::Colour focusOutlineColour = juce::Colours::transparentBlack;
    juce::Colour iconToggledColour = juce::Colours::transparentBlack;
    juce::Colour toggledOutlineColour = juce::Colours::transparentBlack;
    float hoverBackgroundAlpha = 0.0f;
    float pressedBackgroundAlpha = 0.0f;
    float cornerRadius = 6.0f;
    int padding = 6;
    int iconSize = 24;
    bool focusOutlineEnabled = false;

    // Field by field, floats compared exactly: an identical style changes nothing.
    bool operator==(const IconButtonStyle& other) const;
    bool operator!=(const IconButtonStyle& other) const { return !(*this == other); }
};

// The themed styles of the control strip's play and freeze buttons and of its save button.
IconButtonStyle playFreezeButtonPreset();
IconButtonStyle saveButtonPreset();
} // namespace ui_core
