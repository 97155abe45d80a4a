#include "update/UpdateCheckOverlay.h"

#include <tuple>
#include <utility>

namespace update_check
{
UpdateCheckOverlay::UpdateCheckOverlay()
{
    setOpaque(false);
    dialog.showContent(checkingContent());
    addAndMakeVisible(dialog);
}

void UpdateCheckOverlay::resized()
{
    centreDialog();
}

void UpdateCheckOverlay::childBoundsChanged(juce::Component* child)
{
    if (child == &dialog)
        centreDialog();
}

void UpdateCheckOverlay::centreDialog()
{
    auto width = dialog.getWidth(), height = dialog.getHeight();
    if (width <= 0 || height <= 0)
        std::tie(width, height) = std::pair(UpdateDialogGeometry::width, UpdateDialogGeometry::initialHeight);
    dialog.setBounds(getLocalBounds().withSizeKeepingCentre(width, height));
}

void UpdateCheckOverlay::mouseDown(const juce::MouseEvent& event)
{
    // Presses on the dialog's own area reach the dialog; only those beside it arrive here.
    if (event.eventComponent == this && !dialog.getBounds().contains(event.getPosition()) && dialog.onClose)
        dialog.onClose();
}
} // namespace update_check
