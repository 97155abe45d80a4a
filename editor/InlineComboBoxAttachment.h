#pragma once

#include "controls/InlineComboBox.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace ui_panels
{
// Keeps an InlineComboBox and a choice parameter in step, both ways: entry id k + 1 stands for
// choice index k. Host changes arrive on the message thread through the framework's parameter
// attachment; a user's choice is written as one complete gesture. A parameter that is missing or not
// a choice leaves the box alone.
class InlineComboBoxAttachment final
{
public:
    InlineComboBoxAttachment(juce::AudioProcessorValueTreeState& state, const juce::String& parameterID,
                             ui_core::InlineComboBox& comboBox);
    // Clears the box's change callback and detaches from the parameter.
    ~InlineComboBoxAttachment();

    InlineComboBoxAttachment(const InlineComboBoxAttachment&) = delete;
    InlineComboBoxAttachment& operator=(const InlineComboBoxAttachment&) = delete;

private:
    void parameterChanged(float newValue);
    void comboChanged(int selectedId);
    int numberOfChoices() const;

    ui_core::InlineComboBox& comboBox;
    juce::AudioParameterChoice* parameter = nullptr;
    std::unique_ptr<juce::ParameterAttachment> attachment;
    bool updatingComboBox = false;
};
} // namespace ui_panels
