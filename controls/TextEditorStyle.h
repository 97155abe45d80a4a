#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// How a ui_core::TextEditor looks. Alphas replace the colours' own alpha.
struct TextEditorStyle
{
    juce::Font font{14.0f};
    int justification = juce::Justification::centredLeft;
    juce::Colour textColour = juce::Colours::white;
    juce::Colour highlightColour = juce::Colours::lightblue;
    juce::Colour caretColour = juce::Colours::white;
    juce::Colour backgroundColour = juce::Colours::darkgrey;
    juce::Colour outlineColour = juce::Colours::grey;
    juce::Colour focusedOutlineColour = juce::Colours::lightblue;
    juce::Colour shadowColour = juce::Colours::transparentBlack;
    juce::Colour scrollbarThumbColour = juce::Colours::grey.withAlpha(static_cast<juce::uint8>(76));
    float backgroundAlpha = 0.8f;
    float highlightAlpha = 0.3f;
    float outlineAlpha = 0.7f;
    float focusedOutlineAlpha = 0.8f;
    float shadowAlpha = 0.5f;
    float cornerRadius = 4.0f;
    int leftIndent = 8;
    int topIndent = 4;
    int preferredHeight = 28;
    bool multiLine = false;
    bool readOnly = false;

    // Field by field, fonts included and floats compared exactly: an identical style changes nothing.
    bool operator==(const TextEditorStyle& other) const;
    bool operator!=(const TextEditorStyle& other) const { return !(*this == other); }
};

// The style of the dialogs' text fields, built from the current theme and rebuilt after a theme
// change.
const TextEditorStyle& textEditorPreset();
} // namespace ui_core
