#pragma once

#include <juce_graphics/juce_graphics.h>

#include <cstdint>

namespace ui_core
{
// Everything the visualizer draws with: colours, widths, margins and switches. A plain record,
// copied whole; the defaults are the built-in look, themedVisualizerStyle() the window's look.
struct VisualizerStyle
{
    juce::Colour backgroundColour{0xff000000};
    juce::Colour traceColour{0xff008000};
    float traceThickness = 2.0f;
    bool glowEnabled = false;
    float glowIntensity = 0.05f;
    float glowSpreadScale = 1.0f;
    float glowSpread = 12.0f;
    float spillOpacity = 0.25f;
    float spillBlurScale = 4.0f;
    float spillMarginTop = 24.0f;
    float spillMarginBottom = 24.0f;
    float spillMarginSides = 24.0f;
    float spillEdgeFade = 8.0f;
    juce::Colour traceCoreColour{0xffffffff};
    float traceCoreThickness = 1.0f;
    juce::Colour secondTraceColour{0xffffffff};
    juce::Colour secondTraceCoreColour{0xffffffff};
    float secondTraceThickness = 1.5f;
    float secondTraceAlpha = 0.7f;
    float marginLeft = 0.0f;
    float marginRight = 0.0f;
    float marginTop = 0.0f;
    float marginBottom = 0.0f;
    bool gridEnabled = false;
    juce::Colour minorLineColour{0xffffffff};
    float minorLineAlpha = 0.5f;
    std::int32_t majorInterval = 2;
    juce::Colour majorLineColour{0xffffffff};
    float majorLineAlpha = 0.8f;
    juce::Colour centreLineColour{0xffffffff};
    float centreLineAlpha = 1.0f;
    juce::Colour borderColour{0xffffffff};
    float borderAlpha = 1.0f;
    float borderThickness = 1.0f;
    float cornerRadius = 0.0f;
    bool cornerMaskEnabled = false;
    juce::Colour cornerMaskColour{0x00000000};
    bool edgeShadeEnabled = false;
    float edgeShadeDepth = 4.0f;
    float edgeShadeAlpha = 0.5f;

    // Field by field, floats compared exactly: setting an equal style must cost nothing.
    bool operator==(const VisualizerStyle& other) const noexcept;
    bool operator!=(const VisualizerStyle& other) const noexcept { return !(*this == other); }
};
} // namespace ui_core
