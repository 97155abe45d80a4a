#pragma once

#include "controls/TextEntryStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace ui_core
{
// The in-place editor in which a value is typed into a knob. It belongs to the knob for life and
// exists only while open. Return and loss of focus commit the text, Escape cancels; a committed
// value is one complete gesture, so hosts that record automation by gesture see it.
class SliderTextEntry final
{
public:
    explicit SliderTextEntry(juce::Slider& owner);
    // Closes an open editor without committing.
    ~SliderTextEntry();

    SliderTextEntry(const SliderTextEntry&) = delete;
    SliderTextEntry& operator=(const SliderTextEntry&) = delete;

    // Takes effect the next time the entry opens.
    void setStyle(const TextEntryStyle& newStyle) { style = newStyle; }
    const TextEntryStyle& getStyle() const noexcept { return style; }

    // Opens the entry; false when it is already open.
    bool tryStart();
    bool isActive() const noexcept { return active; }

    // Applies the typed text (no number reads as 0), rounded to the interval and clamped to the range.
    void commit();
    void cancel();

    // Where the editor sits in the knob; empty while closed. Re-placed after the knob is resized.
    juce::Rectangle<int> getEditorBounds() const;
    void updateEditorBounds();

    // The value text the entry starts with: whole numbers for whole-number steps, else two decimals.
    static juce::String initialText(const juce::Slider& slider);

private:
    void close();
    juce::Rectangle<int> editorBoundsFor(juce::Rectangle<int> knobBounds) const;

    juce::Slider& slider;
    TextEntryStyle style;
    bool active = false;
    std::unique_ptr<juce::TextEditor> editor;
};
} // namespace ui_core
