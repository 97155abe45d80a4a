#pragma once

#include "controls/ValueDisplay.h"

namespace ui_core
{
// The read-out of the two display gains: "X" and "Y" side by side, each in dB with one decimal.
class ScaleDisplay final : public ValueDisplay
{
public:
    ScaleDisplay(juce::AudioProcessorValueTreeState& state, const juce::String& xParameterID,
                 const juce::String& yParameterID, std::unique_ptr<PollClock> clock = nullptr);

    float getXValue() const noexcept { return getParameterValue(0); }
    float getYValue() const noexcept { return getParameterValue(1); }

    // "6.0 dB", "-12.5 dB".
    static juce::String formatDecibels(float value);

protected:
    void paintRows(juce::Graphics& g, juce::Rectangle<int> labelRow, juce::Rectangle<int> valueRow,
                   float opacity) override;
    juce::String getTitleText() const override;
    juce::String getValueText() const override;
};
} // namespace ui_core
