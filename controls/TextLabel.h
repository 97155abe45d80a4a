#pragma once

#include "controls/TextLabelStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace ui_core
{
// A line of text in the window's style (the captions of the popup panels).
class TextLabel final : public juce::Component
{
public:
    TextLabel() = default;

    void setText(const juce::String& newText);
    const juce::String& getText() const noexcept { return text; }

    void setStyle(const TextLabelStyle& newStyle);
    const TextLabelStyle& getStyle() const noexcept { return style; }

    // Room for one line of the font with the vertical paddings, at least the style's minimum height.
    int getPreferredHeight() const;

    void paint(juce::Graphics& g) override;
    void focusGained(FocusChangeType) override { repaint(); }
    void focusLost(FocusChangeType) override { repaint(); }
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    juce::String shownText() const;

    TextLabelStyle style;
    juce::String text;
};
} // namespace ui_core
