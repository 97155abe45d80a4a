#include "editor/InlineComboBoxAttachment.h"

#include <cmath>

namespace ui_panels
{
InlineComboBoxAttachment::InlineComboBoxAttachment(juce::AudioProcessorValueTreeState& state,
                                                   const juce::String& parameterID,
                                                   ui_core::InlineComboBox& comboBoxToUse)
    : comboBox(comboBoxToUse)
    , parameter(dynamic_cast<juce::AudioParameterChoice*>(state.getParameter(parameterID)))
{
    if (parameter == nullptr)
        return;

    attachment = std::make_unique<juce::ParameterAttachment>(
        *parameter, [this](float value) { parameterChanged(value); }, state.undoManager);
    comboBox.onChange = [this](int id) { comboChanged(id); };
    attachment->sendInitialUpdate();
}

InlineComboBoxAttachment::~InlineComboBoxAttachment()
{
    if (parameter != nullptr)
        comboBox.onChange = nullptr;
    attachment.reset();
}

int InlineComboBoxAttachment::numberOfChoices() const
{
    return parameter != nullptr ? parameter->choices.size() : 0;
}

void InlineComboBoxAttachment::parameterChanged(float newValue)
{
    const auto choices = numberOfChoices();
    const auto normalised =
        parameter->convertTo0to1(parameter->getNormalisableRange().snapToLegalValue(newValue));
    const auto index = choices >= 2 ? (int) std::lround((float) (choices - 1) * normalised) : 0;

    const juce::ScopedValueSetter<bool> echo(updatingComboBox, true);
    if (comboBox.getSelectedId() != index + 1)
    {
        comboBox.setSelectedId(index + 1);
        comboBox.repaint();
    }
}

void InlineComboBoxAttachment::comboChanged(int selectedId)
{
    if (updatingComboBox || parameter == nullptr)
        return;

    const auto choices = numberOfChoices();
    const auto normalised = choices >= 2 ? (float) (selectedId - 1) / (float) (choices - 1) : 0.0f;
    attachment->setValueAsCompleteGesture(parameter->convertFrom0to1(juce::jlimit(0.0f, 1.0f, normalised)));
}
} // namespace ui_panels
