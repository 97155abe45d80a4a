#include "editor/ArtistNameDialogOverlay.h"

namespace ui_panels
{
ArtistNameDialogOverlay::ArtistNameDialogOverlay()
{
    setInterceptsMouseClicks(true, true);
    addAndMakeVisible(dialog);
}

void ArtistNameDialogOverlay::resized()
{
    auto width = dialog.getWidth();
    auto height = dialog.getHeight();
    if (width <= 0 || height <= 0)
    {
        width = 340;
        height = 200;
    }
    dialog.setBounds((getWidth() - width) / 2, (getHeight() - height) / 2, width, height);
}

void ArtistNameDialogOverlay::mouseDown(const juce::MouseEvent& event)
{
    // Presses inside the dialog reach the dialog's own children; this sees only presses beside it.
    if (event.eventComponent == this && dialog.onCancel)
        dialog.onCancel();
}
} // namespace ui_panels
