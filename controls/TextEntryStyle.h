#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// How a knob's in-place value entry looks.
struct TextEntryStyle
{
    juce::Font font{14.0f};
    juce::Colour textColour = juce::Colours::white;
    juce::Colour caretColour = juce::Colours::white;
    juce::Colour backdropColour = juce::Colours::black.withAlpha(static_cast<juce::uint8>(178));
    float cornerRadius = 4.0f;

    bool operator==(const TextEntryStyle& other) const;
    bool operator!=(const TextEntryStyle& other) const { return !(*this == other); }
};

// The themed style the popup panels give every knob's entry.
TextEntryStyle textEntryPreset();
} // namespace ui_core
