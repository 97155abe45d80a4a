#include "controls/WidgetAccessibilityHandler.h"

namespace ui_core
{
namespace
{
class ReadOnlyText final : public juce::AccessibilityTextValueInterface
{
public:
    explicit ReadOnlyText(WidgetAccessibilityHandler::TextSource source)
        : text(std::move(source))
    {
    }

    bool isReadOnly() const override { return true; }
    juce::String getCurrentValueAsString() const override { return text(); }
    void setValueAsString(const juce::String&) override {}

private:
    WidgetAccessibilityHandler::TextSource text;
};

juce::AccessibilityHandler::Interfaces interfacesFor(WidgetAccessibilityHandler::TextSource value)
{
    if (value == nullptr)
        return {};
    return {std::make_unique<ReadOnlyText>(std::move(value))};
}

// The framework's tooltip query is not const, although it only reads.
juce::String tooltipOf(const juce::Component& component)
{
    if (auto* client = dynamic_cast<juce::TooltipClient*>(const_cast<juce::Component*>(&component)))
        return client->getTooltip();
    return {};
}
} // namespace

WidgetAccessibilityHandler::WidgetAccessibilityHandler(juce::Component& component,
                                                       juce::AccessibilityRole role,
                                                       juce::AccessibilityActions actions,
                                                       TextSource titleSource, TextSource value)
    : juce::AccessibilityHandler(component, role, std::move(actions), interfacesFor(std::move(value)))
    , title(std::move(titleSource))
{
}

juce::String WidgetAccessibilityHandler::getTitle() const
{
    const auto ownTitle = getComponent().getTitle();
    if (ownTitle.isNotEmpty() || title == nullptr)
        return ownTitle;
    return title();
}

juce::String WidgetAccessibilityHandler::getHelp() const
{
    const auto help = getComponent().getHelpText();
    return help.isNotEmpty() ? help : tooltipOf(getComponent());
}

juce::AccessibleState WidgetAccessibilityHandler::getCurrentState() const
{
    auto state = juce::AccessibilityHandler::getCurrentState();
    if (const auto* button = dynamic_cast<const juce::Button*>(&getComponent()))
        if (button->isToggleable())
        {
            state = state.withCheckable();
            if (button->getToggleState())
                state = state.withChecked();
        }
    return state;
}
std::unique_ptr<juce::AccessibilityHandler> WidgetAccessibilityHandler::forButton(juce::Button& button,
                                                                                  TextSource title)
{
    auto actions = juce::AccessibilityActions().addAction(juce::AccessibilityActionType::press,
                                                          [&button] { button.triggerClick(); });
    return std::make_unique<WidgetAccessibilityHandler>(button, juce::AccessibilityRole::button,
                                                        std::move(actions), std::move(title));
}

WidgetAccessibilityHandler::TextSource WidgetAccessibilityHandler::tooltipOrName(juce::Button& button)
{
    return [&button]
    {
        const auto tip = button.getTooltip();
        return tip.isNotEmpty() ? tip : button.getName();
    };
}
} // namespace ui_core
