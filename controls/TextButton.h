#pragma once

#include "controls/TextButtonStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace ui_core
{
// A button with a line of text (the dialogs' OK, Cancel, Save ..., and the logo menu's entries).
class TextButton final : public juce::Button
{
public:
    explicit TextButton(const juce::String& name = {});

    void setText(const juce::String& newText);
    juce::String getText() const { return getButtonText(); }

    void setStyle(const TextButtonStyle& newStyle);
    const TextButtonStyle& getStyle() const noexcept { return style; }

    // The bounds inset by the paddings; empty when the button is smaller than the paddings.
    juce::Rectangle<int> getTextArea() const noexcept { return textArea; }

    void resized() override;
    void paintButton(juce::Graphics& g, bool hovered, bool pressed) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    void updateTextArea();

    TextButtonStyle style;
    juce::Rectangle<int> textArea;
};
} // namespace ui_core
