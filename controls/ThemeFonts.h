#pragma once

#include "controls/TextStyles.h"

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// The ten embedded font files (Inter, Space Mono and Nunito), each turned into a typeface on first
// use and kept, shared by every font built from it, until the framework shuts down.

// Space Mono: Bold gives Bold, every other named weight Regular. Nunito: the file of that weight. Any
// value outside the named families and weights gives Inter Regular.
juce::Typeface::Ptr getTypeface(FontFamily family, FontWeight weight);

// A font with the line height and tracking it is laid out with.
struct ThemedFont
{
    juce::Font font;
    float lineHeight;
    float tracking;
};

// Nunito is drawn 7 % larger than its nominal size (so bodyFontSpec gives a 16.05 px font with a
// 23.54 px line height) to match the apparent size of the other families.
ThemedFont makeFont(const FontSpec& spec);

// Inter by weight index: 0 Regular, 1 Medium, 2 SemiBold, 3 Bold; any other index Regular.
juce::Font interfaceFont(int weightIndex, float height);

// Space Mono Regular.
juce::Font monoFont(float height);
} // namespace ui_core
