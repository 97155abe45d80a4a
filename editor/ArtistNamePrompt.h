#pragma once

#include "core/PluginAudioProcessor.h"
#include "editor/ArtistNameDialogOverlay.h"
#include "editor/OverlaySlot.h"

#include <functional>

namespace ui_panels
{
// The artist-name dialog over the window: opened by the logo menu to edit the name, or before the
// first save, when every way out (Save, Skip, Don't Ask Again, a click beside it) goes on to the save.
class ArtistNamePrompt
{
public:
    ArtistNamePrompt(juce::Component& window, PluginAudioProcessor& processor);

    // Replaces a dialog already open. thenSave runs after the dialog has gone, when opened for saving.
    void show(bool forSaving, std::function<void()> thenSave = {});
    void dismiss();

    bool isOpenForSaving() const noexcept { return slot && forSaving; }
    ArtistNameDialogOverlay* get() const noexcept { return slot.get(); }
    void layout();

private:
    void finish();

    juce::Component& window;
    PluginAudioProcessor& processor;
    OverlaySlot<ArtistNameDialogOverlay> slot;
    bool forSaving = false;
    std::function<void()> thenSave;

    JUCE_DECLARE_WEAK_REFERENCEABLE(ArtistNamePrompt)
};
} // namespace ui_panels
