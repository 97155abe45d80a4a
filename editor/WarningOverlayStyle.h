#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_panels
{
// How the sidechain warning card looks.
struct WarningOverlayStyle
{
    juce::Colour backgroundColour{0xff242424};
    juce::Colour borderColour{0xff333333};
    float cornerRadius = 12.0f;
    float borderThickness = 1.0f;
    int padding = 24;
    int titleGap = 8;
    juce::Colour titleColour{0xffb3b3b3};
    juce::Font titleFont{16.0f};
    juce::Colour textColour{0xff6b6b6b};
    juce::Font textFont{12.0f};
    juce::Colour diagramColour{0xff6b6b6b};      // boxes and their labels
    juce::Colour diagramArrowColour{0xff6b6b6b}; // arrows, the sidechain route and its label
    juce::Font diagramFont{10.0f};
    int diagramHeight = 100; // 0 leaves the diagram out
    int sectionGap = 16;
};

// The themed style, with the theme's fonts at the card's text sizes.
WarningOverlayStyle warningOverlayPreset();

// The card's texts.
namespace WarningTexts
{
inline constexpr const char* title = "Sidechain Disconnected";
inline constexpr const char* description =
    "Veltrane Probe (VLX) extracts nonlinear transfer functions by probing before/after the device under "
    "test (DUT). Sidechain must be connected to use the probe.";
inline constexpr const char* instructions =
    "- Place VLX immediately after the DUT to read the output.\n"
    "- Route VLX sidechain to read the DUT input.\n"
    "- Pass audio (e.g. a 0dB sine wave) through the device to begin probing.";
} // namespace WarningTexts
} // namespace ui_panels
