#include "editor/ArtistNamePrompt.h"

namespace ui_panels
{
ArtistNamePrompt::ArtistNamePrompt(juce::Component& windowToUse, PluginAudioProcessor& processorToUse)
    : window(windowToUse)
    , processor(processorToUse)
    , slot(windowToUse)
{
}

void ArtistNamePrompt::show(bool openForSaving, std::function<void()> continueWithSave)
{
    dismiss();
    auto& overlay = slot.show(std::make_unique<ArtistNameDialogOverlay>(), "artistDialogOverlay");
    forSaving = openForSaving;
    thenSave = std::move(continueWithSave);

    auto& dialog = overlay.getDialog();
    dialog.setSavingButtonsVisible(forSaving);
    if (const auto stored = processor.getUserSettings().getArtistName(); stored.isNotEmpty())
        dialog.setArtistName(stored);

    // The callbacks reach the prompt only while it exists.
    const juce::WeakReference<ArtistNamePrompt> weakThis(this);
    dialog.onSave = [weakThis](const juce::String& name)
    {
        if (weakThis == nullptr)
            return;
        if (name.isNotEmpty())
            weakThis->processor.getUserSettings().setArtistName(name);
        weakThis->finish();
    };
    dialog.onCancel = [weakThis]
    {
        if (weakThis != nullptr)
            weakThis->finish();
    };
    dialog.onDontAskAgain = [weakThis]
    {
        if (weakThis == nullptr)
            return;
        weakThis->processor.getUserSettings().setDoNotAskAgain();
        weakThis->finish();
    };

    layout();
    dialog.grabKeyboardFocus();
}

void ArtistNamePrompt::finish()
{
    const auto save = forSaving ? std::move(thenSave) : std::function<void()>();
    dismiss();
    if (save)
        save();
}

void ArtistNamePrompt::dismiss()
{
    forSaving = false;
    thenSave = nullptr;
    slot.dismiss();
}

void ArtistNamePrompt::layout()
{
    // Over this window, not the host's window around it.
    if (slot)
        slot->setBounds(window.getLocalBounds());
}
} // namespace ui_panels
