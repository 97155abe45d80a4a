#include "controls/SmoothingDisplay.h"

namespace ui_core
{
SmoothingDisplay::SmoothingDisplay(juce::AudioProcessorValueTreeState& state, const juce::String& parameterID,
                                   std::unique_ptr<PollClock> clock)
    : ValueDisplay(state, {parameterID}, 1.0f, std::move(clock))
{
    setSize(72, 40);
}

void SmoothingDisplay::paintRows(juce::Graphics& g, juce::Rectangle<int> labelRow,
                                 juce::Rectangle<int> valueRow, float opacity)
{
    const auto& style = getStyle();
    drawText(g, "Smoothing", style.labelFont, style.labelColour, labelRow, opacity);
    drawText(g, juce::String(getValue()), style.valueFont, style.valueColour, valueRow, opacity);
}

juce::String SmoothingDisplay::getTitleText() const
{
    return "Smoothing";
}

juce::String SmoothingDisplay::getValueText() const
{
    return juce::String(getValue());
}
} // namespace ui_core
