#include "editor/LogoMenu.h"

namespace ui_panels
{
bool isPointerOver(const juce::Component& component)
{
    return component.getLocalBounds().contains(component.getMouseXYRelative());
}

LogoMenu::LogoMenu(juce::Component& window, juce::Component& logoToUse)
    : logo(logoToUse)
    , slot(window)
{
}

void LogoMenu::show(const std::vector<Entry>& entries)
{
    std::vector<MenuPanel::Item> items;
    for (const auto& entry : entries)
        items.push_back({entry.componentId, entry.text,
                         [weakThis = juce::WeakReference<LogoMenu>(this), action = entry.action]
                         {
                             // The menu goes on a later turn, after the click has returned.
                             if (weakThis == nullptr)
                                 return;
                             weakThis->close();
                             action();
                         }});
    slot.show(std::make_unique<MenuPanel>(ui_core::contextMenuPopupStyle(), std::move(items)), "logoMenu");
    layout();
}

void LogoMenu::close()
{
    slot.dismiss();
}

void LogoMenu::closeIfPointerLeft()
{
    if (slot && !isPointerOver(logo) && !isPointerOver(*slot.get()))
        close();
}

void LogoMenu::layout()
{
    // On top of the logo's upper edge.
    if (slot)
        slot->setTopLeftPosition(logo.getX(), logo.getY() - slot->getHeight());
}
} // namespace ui_panels
