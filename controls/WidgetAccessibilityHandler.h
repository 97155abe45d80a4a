#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

namespace ui_core
{
// What a screen reader learns about one of the window's widgets: its role, a title that follows the
// widget (a caption, a button's text or its tooltip) and, where it shows one, a read-only value.
// The component's own title, when set, wins over the one given here.
class WidgetAccessibilityHandler final : public juce::AccessibilityHandler
{
public:
    using TextSource = std::function<juce::String()>;

    WidgetAccessibilityHandler(juce::Component& component, juce::AccessibilityRole role,
                               juce::AccessibilityActions actions, TextSource title,
                               TextSource value = nullptr);

    // A button that screen readers can press.
    static std::unique_ptr<juce::AccessibilityHandler> forButton(juce::Button& button, TextSource title);
    // The title of a button that shows only an icon: its tooltip, or its name without one.
    static TextSource tooltipOrName(juce::Button& button);

    juce::String getTitle() const override;
    juce::String getHelp() const override;
    juce::AccessibleState getCurrentState() const override;

private:
    TextSource title;
};
} // namespace ui_core
