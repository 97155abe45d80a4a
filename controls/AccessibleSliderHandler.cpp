#include "controls/AccessibleSliderHandler.h"

namespace ui_core
{
namespace
{
class SliderValue final : public juce::AccessibilityValueInterface
{
public:
    explicit SliderValue(juce::Slider& s)
        : slider(s)
    {
    }

    bool isReadOnly() const override { return false; }
    double getCurrentValue() const override { return slider.getValue(); }

    void setValue(double newValue) override
    {
        const juce::Slider::ScopedDragNotification gesture(slider);
        slider.setValue(newValue, juce::sendNotificationSync);
    }

    juce::String getCurrentValueAsString() const override
    {
        return slider.getTextFromValue(slider.getValue());
    }
    void setValueAsString(const juce::String& text) override { setValue(slider.getValueFromText(text)); }

    AccessibleValueRange getRange() const override
    {
        return {{slider.getMinimum(), slider.getMaximum()}, slider.getInterval()};
    }

private:
    juce::Slider& slider;
};
} // namespace

AccessibleSliderHandler::AccessibleSliderHandler(juce::Slider& s, std::function<juce::String()> titleSource)
    : juce::AccessibilityHandler(s, juce::AccessibilityRole::slider, {},
                                 juce::AccessibilityHandler::Interfaces{std::make_unique<SliderValue>(s)})
    , slider(s)
    , title(std::move(titleSource))
{
}

juce::String AccessibleSliderHandler::getTitle() const
{
    const auto ownTitle = slider.getTitle();
    if (ownTitle.isNotEmpty() || title == nullptr)
        return ownTitle;
    return title();
}

juce::String AccessibleSliderHandler::getHelp() const
{
    return slider.getTooltip();
}
} // namespace ui_core
