#pragma once

#include "editor/ThemeOverlayStyle.h"

#include <juce_graphics/juce_graphics.h>

namespace ui_panels
{
// Tracks and thumbs are drawn this far inside a slider's ends, and the sliders map the mouse over
// the same span, so that the thumb sits under the pointer.
inline constexpr int themeOverlayTrackInset = 4;

// A setting's caption line (label, swatch or value) and the slider below it.
struct ThemeOverlayRow
{
    juce::Rectangle<int> label;
    juce::Rectangle<int> slider;
};

// Where everything of the theme card goes, in the panel's coordinates.
struct ThemeOverlayLayout
{
    juce::Rectangle<int> card;
    juce::Rectangle<int> title;
    ThemeOverlayRow primaryHue, secondaryHue, primarySaturation, secondarySaturation;
    juce::Rectangle<int> glowRow, glowSwitch;
    ThemeOverlayRow glowAmount;
    juce::Rectangle<int> resetButton, cancelButton, okButton;
};

// The card's height follows its rows: the buttons, eleven rows, eight gaps, the padding above and
// below, and the extra height of the title and of the five caption lines.
int themeOverlayCardHeight(const ThemeOverlayStyle& style);

// The card centred in a panel of the given size, its rows stacked from the top of its content area,
// each cut to the height that is left.
ThemeOverlayLayout layOutThemeOverlay(const ThemeOverlayStyle& style, int width, int height);
} // namespace ui_panels
