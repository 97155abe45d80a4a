#include "controls/DeferredDeletion.h"

namespace ui_core
{
void deleteOnNextMessageLoopTurn(std::unique_ptr<juce::Component> component)
{
    if (component == nullptr)
        return;

    component->setVisible(false);
    if (auto* parent = component->getParentComponent())
        parent->removeChildComponent(component.get());

    // A posted call must be copyable, so the component travels in a shared pointer; if the message
    // loop shuts down first, dropping the pending call still deletes it.
    std::shared_ptr<juce::Component> owner(std::move(component));
    juce::MessageManager::callAsync([owner] {});
}
} // namespace ui_core
