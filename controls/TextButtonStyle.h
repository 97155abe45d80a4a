#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// How a TextButton looks in each state. Background alphas replace the colours' own alpha.
struct TextButtonStyle
{
    juce::Font font{14.0f};
    int justification = juce::Justification::centred;
    bool upperCase = false;

    juce::Colour textColour = juce::Colours::white;
    juce::Colour textHoveredColour = juce::Colours::white;
    juce::Colour textPressedColour = juce::Colours::lightgrey;
    juce::Colour textDisabledColour = juce::Colours::grey;
    juce::Colour textToggledColour = juce::Colours::transparentBlack;

    juce::Colour backgroundColour = juce::Colours::transparentBlack;
    juce::Colour backgroundHoveredColour = juce::Colours::transparentBlack;
    juce::Colour backgroundPressedColour = juce::Colours::transparentBlack;
    juce::Colour backgroundToggledColour = juce::Colours::transparentBlack;

    juce::Colour borderColour = juce::Colours::transparentBlack;
    juce::Colour borderHoveredColour = juce::Colours::transparentBlack;
    juce::Colour borderPressedColour = juce::Colours::transparentBlack;
    juce::Colour borderToggledColour = juce::Colours::transparentBlack;

    float backgroundAlpha = 0.0f;
    float backgroundHoveredAlpha = 0.0f;
    float backgroundPressedAlpha = 0.0f;
    float backgroundToggledAlpha = 0.0f;
    float backgroundToggledHoveredAlpha = 0.0f;
    float backgroundToggledPressedAlpha = 0.0f;

    float cornerRadius = 6.0f;
    int horizontalPadding = 10;
    int verticalPadding = 6;
    int preferredWidth = 48;
    int preferredHeight = 28;

    // Field by field, fonts included and floats compared exactly: an identical style changes nothing.
    bool operator==(const TextButtonStyle& other) const;
    bool operator!=(const TextButtonStyle& other) const { return !(*this == other); }
};

// The style the dialogs share for their buttons (OK, Cancel, Save ...), built from the current
// theme and rebuilt after a theme change.
const TextButtonStyle& textButtonPreset();
} // namespace ui_core
