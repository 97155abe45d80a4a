#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace ui_core
{
// A knob or number box as a screen reader sees it: a slider with a title (its caption or tooltip)
// and its value text. A value set through it is one complete gesture, so that hosts record it.
class AccessibleSliderHandler final : public juce::AccessibilityHandler
{
public:
    AccessibleSliderHandler(juce::Slider& slider, std::function<juce::String()> title);

    juce::String getTitle() const override;
    juce::String getHelp() const override;

private:
    juce::Slider& slider;
    std::function<juce::String()> title;
};
} // namespace ui_core
