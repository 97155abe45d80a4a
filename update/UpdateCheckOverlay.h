#pragma once

#include "update/UpdateCheckDialog.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace update_check
{
// Covers the whole window while an update check is shown and keeps its dialog centred; paints
// nothing itself. A mouse press beside the dialog closes it like its Close button.
class UpdateCheckOverlay final : public juce::Component
{
public:
    // The dialog starts in its checking state.
    UpdateCheckOverlay();

    UpdateCheckDialog& getDialog() noexcept { return dialog; }

    void resized() override;
    void childBoundsChanged(juce::Component* child) override;
    void mouseDown(const juce::MouseEvent& event) override;

private:
    void centreDialog();

    UpdateCheckDialog dialog;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(UpdateCheckOverlay)
};
} // namespace update_check
