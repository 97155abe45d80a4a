#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// The look of a popup menu. The menus themselves use the font and four of the colours; the others are
// carried for widgets that imitate menu entries (the logo menu's buttons).
struct PopupMenuStyle
{
    juce::Font font{14.0f};
    juce::Colour backgroundColour{0xff555555};
    juce::Colour borderColour = juce::Colours::grey;
    juce::Colour textColour = juce::Colours::white;
    juce::Colour highlightedTextColour = juce::Colours::white;
    juce::Colour pressedTextColour = juce::Colours::white;
    juce::Colour disabledTextColour = juce::Colours::grey;
    juce::Colour separatorColour = juce::Colours::black.withAlpha(static_cast<juce::uint8>(64));
    juce::Colour highlightedBackgroundColour = juce::Colours::grey.withAlpha(static_cast<juce::uint8>(76));
    juce::Colour pressedBackgroundColour = juce::Colours::grey.withAlpha(static_cast<juce::uint8>(128));
    juce::Colour scrollbarColour = juce::Colours::grey;
    float cornerRadius = 6.0f;
    int itemHorizontalPadding = 12;
    int itemVerticalPadding = 6;

    // Field by field, fonts included and floats compared exactly: an identical style changes nothing.
    bool operator==(const PopupMenuStyle& other) const;
    bool operator!=(const PopupMenuStyle& other) const { return !(*this == other); }
};

// The themed style of the visualizer's context menu, built afresh from the current theme on each call
// (the menu takes it each time it opens).
PopupMenuStyle contextMenuPopupStyle();
} // namespace ui_core
