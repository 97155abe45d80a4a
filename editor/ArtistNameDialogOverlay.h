#pragma once

#include "editor/ArtistNameDialog.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace ui_panels
{
// A transparent layer over the whole window that holds the artist-name dialog centred and catches
// every click, so the window below waits until the dialog is answered. A click beside the dialog
// counts as Cancel (Skip when saving).
class ArtistNameDialogOverlay final : public juce::Component
{
public:
    ArtistNameDialogOverlay();

    ArtistNameDialog& getDialog() noexcept { return dialog; }

    void resized() override;
    void mouseDown(const juce::MouseEvent& event) override;

private:
    ArtistNameDialog dialog;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ArtistNameDialogOverlay)
};
} // namespace ui_panels
