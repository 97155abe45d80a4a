#pragma once

#include "controls/PopupMenuStyle.h"

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// How an InlineComboBox draws its caption and value, its hover highlight, and its menu.
struct InlineComboBoxStyle
{
    juce::Font valueFont{14.0f};
    juce::Font captionFont{14.0f};
    int justification = juce::Justification::centred;
    juce::Colour captionColour = juce::Colours::grey;
    juce::Colour valueColour = juce::Colours::white;
    int captionGap = 2;
    juce::Colour hoverFillColour = juce::Colours::transparentBlack;
    float hoverFillAlpha = 0.05f;
    juce::Colour hoverOutlineColour = juce::Colours::lightgrey;
    float hoverOutlineAlpha = 0.8f;
    float hoverOutlineWidth = 1.0f;
    float cornerRadius = 4.0f;
    int horizontalPadding = 6;
    int verticalPadding = 6;
    PopupMenuStyle popupStyle;

    // Field by field, fonts and the menu style included, floats compared exactly: an identical style
    // changes nothing.
    bool operator==(const InlineComboBoxStyle& other) const;
    bool operator!=(const InlineComboBoxStyle& other) const { return !(*this == other); }
};

// The themed style of the control strip's four combo boxes.
InlineComboBoxStyle comboBoxPreset();
} // namespace ui_core
