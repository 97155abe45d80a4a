#pragma once

#include "editor/MenuPanel.h"
#include "editor/OverlaySlot.h"

#include <vector>

namespace ui_panels
{
// The hover menu above the logo. Each entry closes the menu before its action runs; the window's timer
// closes it on the first tick that finds the pointer outside both the logo and the menu.
class LogoMenu
{
public:
    struct Entry
    {
        juce::String componentId;
        juce::String text;
        std::function<void()> action;
    };

    LogoMenu(juce::Component& window, juce::Component& logo);

    void show(const std::vector<Entry>& entries);
    void close();
    void closeIfPointerLeft();

    MenuPanel* get() const noexcept { return slot.get(); }
    void layout();

private:
    juce::Component& logo;
    OverlaySlot<MenuPanel> slot;

    JUCE_DECLARE_WEAK_REFERENCEABLE(LogoMenu)
};

// Whether the pointer is over the component now; asked by timers, between mouse events.
bool isPointerOver(const juce::Component& component);
} // namespace ui_panels
