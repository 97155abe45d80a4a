#pragma once

#include "controls/ValueDisplay.h"

namespace ui_core
{
// The read-out of the smoothing window: "Smoothing" above the whole-number value.
class SmoothingDisplay final : public ValueDisplay
{
public:
    SmoothingDisplay(juce::AudioProcessorValueTreeState& state, const juce::String& parameterID,
                     std::unique_ptr<PollClock> clock = nullptr);

    // The parameter truncated toward zero, as the estimator reads it.
    int getValue() const noexcept { return static_cast<int>(getParameterValue(0)); }

protected:
    void paintRows(juce::Graphics& g, juce::Rectangle<int> labelRow, juce::Rectangle<int> valueRow,
                   float opacity) override;
    juce::String getTitleText() const override;
    juce::String getValueText() const override;
};
} // namespace ui_core
