#pragma once

#include "controls/TextButtonStyle.h"

#include <juce_graphics/juce_graphics.h>

namespace ui_panels
{
// How the "Customize Colors" card looks and how its rows are spaced. The defaults are the panel's
// own until the editor applies the themed preset.
struct ThemeOverlayStyle
{
    juce::Colour cardBackground{0xff1a1a1a};
    juce::Colour cardBorder{0xff333333};
    float cornerRadius = 12.0f;
    float borderThickness = 1.0f;
    int padding = 24;
    int cardWidth = 320;

    juce::Colour titleColour{0xffb3b3b3};
    juce::Font titleFont{16.0f};
    juce::Colour labelColour{0xff888888};
    juce::Font labelFont{12.0f};
    juce::Colour valueColour{0xffcccccc};
    juce::Font valueFont{11.0f};

    // The saturation and glow tracks and the switch box; the slider thumbs and the switch mark.
    juce::Colour trackColour{0xff333333};
    juce::Colour thumbColour{0xffaaaaaa};

    int rowHeight = 20;
    int gap = 16;
    // The hue swatches, the value boxes (plus 10) and the switch.
    int swatchWidth = 20;
    float swatchCornerRadius = 4.0f;

    ui_core::TextButtonStyle buttonStyle;
    int buttonHeight = 28;
    int buttonGap = 8;

    // Field by field, fonts included and floats compared exactly.
    bool operator==(const ThemeOverlayStyle& other) const;
    bool operator!=(const ThemeOverlayStyle& other) const { return !(*this == other); }
};

// The card in the current theme: neutral shades, the dialog tokens and the shared button preset.
ThemeOverlayStyle themeOverlayPreset();
} // namespace ui_panels
