#include "controls/SliderTextEntry.h"

#include "controls/DeferredDeletion.h"

#include <cmath>

namespace ui_core
{
namespace
{
bool hasWholeNumberSteps(const juce::Slider& slider)
{
    return slider.getInterval() >= 0.999999999;
}
} // namespace

SliderTextEntry::SliderTextEntry(juce::Slider& owner)
    : slider(owner)
{
}

SliderTextEntry::~SliderTextEntry()
{
    if (editor != nullptr)
    {
        // Its focus loss must not commit: the knob is going away.
        editor->onReturnKey = editor->onEscapeKey = editor->onFocusLost = nullptr;
        editor.reset();
    }
}

juce::String SliderTextEntry::initialText(const juce::Slider& slider)
{
    const auto value = slider.getValue();
    return hasWholeNumberSteps(slider) ? juce::String(juce::roundToInt(value)) : juce::String(value, 2);
}

bool SliderTextEntry::tryStart()
{
    if (active)
        return false;
    active = true;

    editor = std::make_unique<juce::TextEditor>("valueEntry");
    editor->setFont(style.font);
    editor->setColour(juce::TextEditor::textColourId, style.textColour);
    editor->setColour(juce::CaretComponent::caretColourId, style.caretColour);
    for (const auto id : {juce::TextEditor::backgroundColourId, juce::TextEditor::outlineColourId,
                          juce::TextEditor::focusedOutlineColourId})
        editor->setColour(id, juce::Colours::transparentBlack);
    // The selection in the entry's own colour rather than the framework's blue.
    editor->setColour(juce::TextEditor::highlightColourId, style.textColour.withMultipliedAlpha(0.25f));
    editor->setColour(juce::TextEditor::highlightedTextColourId, style.textColour);

    editor->setJustification(juce::Justification::centred);
    editor->setInputRestrictions(hasWholeNumberSteps(slider) ? 6 : 8, "-0123456789.");
    editor->setText(initialText(slider), juce::dontSendNotification);
    editor->selectAll();

    editor->onReturnKey = [this] { commit(); };
    editor->onFocusLost = [this] { commit(); };
    editor->onEscapeKey = [this] { cancel(); };

    slider.addAndMakeVisible(*editor);
    updateEditorBounds();
    editor->grabKeyboardFocus();
    slider.repaint();
    return true;
}

void SliderTextEntry::commit()
{
    if (!active || editor == nullptr)
        return;

    auto value = editor->getText().getDoubleValue();
    const auto interval = slider.getInterval();
    if (interval > 0.0)
        value = std::round(value / interval) * interval;
    value = juce::jlimit(slider.getMinimum(), slider.getMaximum(), value);

    close();

    if (value != slider.getValue())
    {
        const juce::Slider::ScopedDragNotification gesture(slider);
        slider.setValue(value, juce::sendNotificationSync);
    }
}

void SliderTextEntry::cancel()
{
    if (active)
        close();
}

void SliderTextEntry::close()
{
    active = false;
    if (editor != nullptr)
    {
        // The editor is usually inside its own key or focus callback here: detach it now, delete it
        // later, and make sure its pending focus-loss message commits nothing.
        editor->onReturnKey = editor->onEscapeKey = editor->onFocusLost = nullptr;
        deleteOnNextMessageLoopTurn(std::move(editor));
    }
    slider.repaint();
}

juce::Rectangle<int> SliderTextEntry::editorBoundsFor(juce::Rectangle<int> knobBounds) const
{
    const auto width = knobBounds.getWidth() < 51 ? 50 : knobBounds.getWidth();
    const auto height = knobBounds.getHeight() < 25 ? 24 : knobBounds.getHeight();
    return {(knobBounds.getWidth() - width) / 2, (knobBounds.getHeight() - height) / 2, width, height};
}

juce::Rectangle<int> SliderTextEntry::getEditorBounds() const
{
    return editor != nullptr ? editor->getBounds() : juce::Rectangle<int>();
}

void SliderTextEntry::updateEditorBounds()
{
    if (editor != nullptr)
        editor->setBounds(editorBoundsFor(slider.getLocalBounds()));
}
} // namespace ui_core
