#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// How a TextLabel draws its text.
struct TextLabelStyle
{
    juce::Font font{14.0f};
    int justification = juce::Justification::centred;
    bool upperCase = false;
    juce::Colour textColour = juce::Colours::white;
    juce::Colour disabledTextColour = juce::Colours::grey;
    juce::Colour backgroundColour = juce::Colours::transparentBlack;
    int horizontalPadding = 0;
    int verticalPadding = 0;
    bool focusOutlineEnabled = false;
    juce::Colour focusOutlineColour = juce::Colours::transparentBlack;
    float focusOutlineWidth = 1.0f;
    int minimumHeight = 0;

    // Field by field, fonts included and floats compared exactly: an identical style changes nothing.
    bool operator==(const TextLabelStyle& other) const;
    bool operator!=(const TextLabelStyle& other) const { return !(*this == other); }
};

// The themed style of the captions above the popup panels' knobs ("SCALE X").
TextLabelStyle panelLabelPreset();
} // namespace ui_core
