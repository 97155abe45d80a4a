#include "controls/ScaleDisplay.h"

#include <cmath>

namespace ui_core
{
ScaleDisplay::ScaleDisplay(juce::AudioProcessorValueTreeState& state, const juce::String& xParameterID,
                           const juce::String& yParameterID, std::unique_ptr<PollClock> clock)
    : ValueDisplay(state, {xParameterID, yParameterID}, 1.0f, std::move(clock))
{
    setSize(120, 40);
}

juce::String ScaleDisplay::formatDecibels(float value)
{
    // No "-0.0 dB" for values that round to zero from below.
    const auto rounded = std::round(value * 10.0f) / 10.0f;
    return juce::String(rounded == 0.0f ? 0.0f : rounded, 1) + " dB";
}

void ScaleDisplay::paintRows(juce::Graphics& g, juce::Rectangle<int> labelRow, juce::Rectangle<int> valueRow,
                             float opacity)
{
    const auto& style = getStyle();
    const auto leftWidth = labelRow.getWidth() / 2;
    drawText(g, "X", style.labelFont, style.labelColour, labelRow.removeFromLeft(leftWidth), opacity);
    drawText(g, "Y", style.labelFont, style.labelColour, labelRow, opacity);
    drawText(g, formatDecibels(getXValue()), style.valueFont, style.valueColour,
             valueRow.removeFromLeft(leftWidth), opacity);
    drawText(g, formatDecibels(getYValue()), style.valueFont, style.valueColour, valueRow, opacity);
}

juce::String ScaleDisplay::getTitleText() const
{
    return "Scale";
}

juce::String ScaleDisplay::getValueText() const
{
    return "X " + formatDecibels(getXValue()) + ", Y " + formatDecibels(getYValue());
}
} // namespace ui_core
