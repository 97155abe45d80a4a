#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>
#include <cstddef>

namespace ui_core
{
// Token indices are constants of the callers; a wrong one is a programming error, caught in debug
// builds and harmless (the last entry) in release builds.
inline std::size_t clampedIndex(std::size_t i, std::size_t size) noexcept
{
    jassert(i < size);
    return i < size ? i : size - 1;
}

// Design tokens that widgets share. They do not depend on the theme settings but come through the
// same cache as the palette, so that a theme change is one event for every record. Users take
// entries by index.

// State alphas: 0..2 popup-menu states, 6..11 the text-button states (6 also the text editor),
// 13 the alpha of the knob style's neutral5.
struct StateOpacities
{
    std::array<float, 32> values;
    float operator[](std::size_t i) const { return values[clampedIndex(i, values.size())]; }
};

// Corner radii in pixels: 3 popup menus and text fields, 7 dialogs and overlay cards.
struct RadiusScale
{
    std::array<float, 8> values;
    float operator[](std::size_t i) const { return values[clampedIndex(i, values.size())]; }
};

// Spacings in pixels: 1 and 2 popup-menu item paddings, 7 the inner margin of dialogs and of the
// visualizer frame, 0 and 4 the combo-box and control styles.
struct SpacingScale
{
    std::array<int, 9> values;
    int operator[](std::size_t i) const { return values[clampedIndex(i, values.size())]; }
};

// Stroke widths in pixels: 1 the border of dialogs and overlay cards.
struct StrokeScale
{
    std::array<float, 5> values;
    float operator[](std::size_t i) const { return values[clampedIndex(i, values.size())]; }
};

// Text shades: 1 (neutral9) the main text, 2 (neutral6) the secondary, 3 (neutral3) the dimmed text.
struct TextColours
{
    std::array<juce::Colour, 7> values;
    juce::Colour operator[](std::size_t i) const { return values[clampedIndex(i, values.size())]; }
};

const StateOpacities& stateOpacities();
const RadiusScale& radiusScale();
const SpacingScale& spacingScale();
const StrokeScale& strokeScale();
const TextColours& textColours();
} // namespace ui_core
