#pragma once

#include "controls/DeferredDeletion.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace ui_panels
{
// One overlay of the window that comes and goes (a card, a dialog, a menu). Shown on top of the
// window's other children; dismissed by taking it out of the window at once and deleting it on a later
// turn of the message loop, because the click that closes it may still be on the stack.
template <typename Overlay>
class OverlaySlot
{
public:
    explicit OverlaySlot(juce::Component& parentToUse)
        : parent(parentToUse)
    {
    }

    // The window is going: nothing of the overlay can be on the stack any more.
    ~OverlaySlot()
    {
        if (overlay != nullptr)
            parent.removeChildComponent(overlay.get());
    }

    // Replaces the overlay shown, if any.
    Overlay& show(std::unique_ptr<Overlay> next, const juce::String& name)
    {
        dismiss();
        overlay = std::move(next);
        overlay->setName(name);
        overlay->setAlwaysOnTop(true);
        parent.addAndMakeVisible(*overlay);
        return *overlay;
    }

    void dismiss()
    {
        if (overlay != nullptr)
            ui_core::deleteOnNextMessageLoopTurn(std::move(overlay));
    }

    Overlay* get() const noexcept { return overlay.get(); }
    Overlay* operator->() const noexcept { return overlay.get(); }
    explicit operator bool() const noexcept { return overlay != nullptr; }

private:
    juce::Component& parent;
    std::unique_ptr<Overlay> overlay;

    JUCE_DECLARE_NON_COPYABLE(OverlaySlot)
};
} // namespace ui_panels
