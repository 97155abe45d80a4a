#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_panels
{
// How the knob cards that pop up above the scale and smoothing read-outs look. The two gaps are the
// scale card's only. Alphas replace the colours' own alpha.
struct PopupPanelStyle
{
    juce::Colour backgroundColour{0xff555555};
    float backgroundAlpha = 0.95f;
    juce::Colour borderColour{0xff808080};
    float borderAlpha = 0.5f;
    float borderThickness = 1.0f;
    float cornerRadius = 8.0f;
    float shadowAlpha = 0.3f;
    int shadowOffset = -2; // vertical; negative casts the shadow upward
    int shadowRadius = 8;
    int padding = 12;
    int knobGap = 16;
    int labelGap = 4;

    bool operator==(const PopupPanelStyle& other) const;
    bool operator!=(const PopupPanelStyle& other) const { return !(*this == other); }
};

// The themed styles of the two cards.
PopupPanelStyle scalePanelPreset();
PopupPanelStyle smoothingPanelPreset();

// The card's outline: rounded at the top, square at the bottom, so that it sits flush on the read-out
// below it.
juce::Path popupCardOutline(float width, float height, float cornerRadius);

// Shadow, fill and outline of a card of the given size.
void paintPopupCard(juce::Graphics& g, float width, float height, const PopupPanelStyle& style);
} // namespace ui_panels
