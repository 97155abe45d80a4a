#pragma once

#include "controls/StyleColours.h"

#include <juce_graphics/juce_graphics.h>

namespace ui_panels
{
// Shadow, fill and border of a card's outline. The strip's and the knob cards' styles name these
// fields alike; alphas replace the colours' own alpha, and a zero alpha draws nothing.
template <typename CardStyle>
void paintCard(juce::Graphics& g, const juce::Path& outline, const CardStyle& style)
{
    if (style.shadowAlpha > 0.0f)
        juce::DropShadow(ui_core::atOpacity(juce::Colours::black, style.shadowAlpha), style.shadowRadius,
                         {0, style.shadowOffset})
            .drawForPath(g, outline);

    g.setColour(ui_core::atOpacity(style.backgroundColour, style.backgroundAlpha));
    g.fillPath(outline);

    if (style.borderAlpha > 0.0f)
    {
        g.setColour(ui_core::atOpacity(style.borderColour, style.borderAlpha));
        g.strokePath(outline, juce::PathStrokeType(style.borderThickness));
    }
}
} // namespace ui_panels
