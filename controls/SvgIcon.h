#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace ui_core
{
// Vector icons drawn in black and recoloured per state.

// A drawable from SVG text; empty when the text is not an SVG document.
std::unique_ptr<juce::Drawable> createDrawableFromSvgText(const juce::String& svgText);

// A copy in which every black (0xff000000) fill and stroke takes the given colour.
std::unique_ptr<juce::Drawable> recolouredCopy(const juce::Drawable& drawable, juce::Colour colour);

// The area the artwork was drawn for: the view box of an SVG document, otherwise the drawn content.
// The framework fits a drawable to its drawn content, which would enlarge a small glyph in a 24 x 24
// box to the size of a full one; fitting the view box keeps the icons' relative sizes.
juce::Rectangle<float> artworkArea(const juce::Drawable& drawable);

// Places the drawable's artwork area centred inside the area, keeping its proportions.
void fitArtworkInto(juce::Drawable& drawable, juce::Rectangle<float> area);
} // namespace ui_core
