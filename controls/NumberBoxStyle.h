#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// How a NumberBox looks in each state and how fast it drags. Alphas replace the colours' own alpha.
struct NumberBoxStyle
{
    juce::Font valueFont{14.0f};
    juce::Font captionFont{14.0f};
    int justification = juce::Justification::centred;
    juce::Colour captionColour{0xff808080};
    juce::Colour valueColour = juce::Colours::white;
    juce::Colour editTextColour = juce::Colours::white;
    int rowGap = 2;
    juce::Colour backgroundColour = juce::Colours::transparentBlack;
    float backgroundAlpha = 0.0f;
    juce::Colour hoverBackgroundColour = juce::Colours::transparentBlack;
    float hoverBackgroundAlpha = 0.05f;
    juce::Colour dragBackgroundColour = juce::Colours::transparentBlack;
    float dragBackgroundAlpha = 0.1f;
    juce::Colour editBackgroundColour = juce::Colours::black;
    float editBackgroundAlpha = 0.3f;
    juce::Colour borderColour = juce::Colours::transparentBlack;
    float borderAlpha = 0.0f;
    juce::Colour activeBorderColour{0xffd3d3d3};
    float activeBorderAlpha = 0.8f;
    juce::Colour editBorderColour = juce::Colours::white;
    float editBorderAlpha = 0.5f;
    float borderThickness = 1.0f;
    float cornerRadius = 4.0f;
    int horizontalPadding = 10;
    int verticalPadding = 6;
    // Fraction of the range per 100 px of drag is 1 / dragSensitivity (ten times less with Shift).
    float dragSensitivity = 4.0f;
    juce::String suffix = " samples";

    // Field by field, fonts and suffix included, floats compared exactly: an identical style changes
    // nothing.
    bool operator==(const NumberBoxStyle& other) const;
    bool operator!=(const NumberBoxStyle& other) const { return !(*this == other); }
};

// The themed style of the control strip's latency boxes (no suffix).
NumberBoxStyle numberBoxPreset();
} // namespace ui_core
