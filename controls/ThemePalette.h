#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>
#include <cstddef>

namespace ui_core
{
// One step of a tonal ramp: the saturation factor (multiplied by the ramp's saturation scale) and the
// brightness of the HSV colour.
struct RampStep
{
    float saturationFactor;
    float brightness;
};

// The primary ramp and the near-grey neutral ramp use the primary hue and saturation scale, the
// secondary ramp the secondary ones.
inline constexpr std::array<RampStep, 11> primaryRamp{{{0.948f, 0.30f},
                                                       {0.853f, 0.39f},
                                                       {0.785f, 0.48f},
                                                       {0.731f, 0.58f},
                                                       {0.677f, 0.78f},
                                                       {0.65f, 0.88f},
                                                       {0.623f, 0.90f},
                                                       {0.636f, 0.99f},
                                                       {0.636f, 1.00f},
                                                       {0.501f, 0.98f},
                                                       {0.474f, 0.99f}}};

inline constexpr std::array<RampStep, 11> secondaryRamp{{{1.0f, 0.30f},
                                                         {1.0f, 0.39f},
                                                         {1.0f, 0.48f},
                                                         {0.964f, 0.58f},
                                                         {0.893f, 0.78f},
                                                         {0.857f, 0.88f},
                                                         {0.822f, 0.90f},
                                                         {0.839f, 0.99f},
                                                         {0.839f, 1.00f},
                                                         {0.661f, 0.98f},
                                                         {0.625f, 0.99f}}};

inline constexpr std::array<RampStep, 10> neutralRamp{{{0.027f, 0.07f},
                                                       {0.027f, 0.10f},
                                                       {0.041f, 0.14f},
                                                       {0.041f, 0.18f},
                                                       {0.054f, 0.27f},
                                                       {0.054f, 0.45f},
                                                       {0.041f, 0.64f},
                                                       {0.041f, 0.75f},
                                                       {0.027f, 0.83f},
                                                       {0.027f, 0.94f}}};

// Colour of ramp step n for the current theme settings; n beyond the last step gives the last step.
juce::Colour primaryShade(std::size_t n);
juce::Colour secondaryShade(std::size_t n);
juce::Colour neutralShade(std::size_t n);

// The 32 shades resolved for the current settings. The interface is dark: neutral0..neutral4 are
// backgrounds, fills and borders, neutral5..neutral9 texts, the primary shades the accent of the
// curve and the controls, the secondary shades the second accent.
struct ThemePalette
{
    juce::Colour neutral0, neutral1, neutral2, neutral3, neutral4, neutral5, neutral6, neutral7, neutral8,
        neutral9;
    juce::Colour primary0, primary1, primary2, primary3, primary4, primary5, primary6, primary7, primary8,
        primary9, primary10;
    juce::Colour secondary0, secondary1, secondary2, secondary3, secondary4, secondary5, secondary6,
        secondary7, secondary8, secondary9, secondary10;

    static ThemePalette build();
};

// The palette for the current settings, rebuilt on the first call after a theme change.
const ThemePalette& palette();
} // namespace ui_core
