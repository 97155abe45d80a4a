#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// How a Rotary3DKnob draws itself. Angles in radians from the positive x axis, clockwise on screen;
// the default sweep of 270 degrees is open at the bottom. A colour with alpha 0 counts as unset where
// the knob has a fallback (the track, the value arc).
struct KnobStyle
{
    float trackThickness = 3.0f;
    float startAngle = 3.0f * juce::MathConstants<float>::pi / 4.0f;
    float endAngle = 9.0f * juce::MathConstants<float>::pi / 4.0f;
    float pointerWidth = 2.0f;
    juce::Colour trackColour = juce::Colours::transparentBlack;
    juce::Colour valueArcColour = juce::Colours::transparentBlack;
    juce::Colour bodyColour = juce::Colours::transparentBlack;
    juce::Colour accentColour = juce::Colours::transparentBlack;

    // Field by field, floats compared exactly: an identical style neither repaints nor re-renders the
    // cached body.
    bool operator==(const KnobStyle& other) const;
    bool operator!=(const KnobStyle& other) const { return !(*this == other); }
};

// The themed style of the popup panels' knobs.
KnobStyle controlPanelKnobPreset();
} // namespace ui_core
