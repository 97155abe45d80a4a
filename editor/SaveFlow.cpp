#include "editor/SaveFlow.h"

#include "editor/PresetSaveTarget.h"

namespace ui_panels
{
SaveFlow::SaveFlow(PluginAudioProcessor& processorToUse, const MeasurementSession& sessionToUse,
                   ArtistNamePrompt& promptToUse, NoticeBoard& noticesToUse,
                   std::unique_ptr<SaveLocationChooser> chooserToUse)
    : processor(processorToUse)
    , session(sessionToUse)
    , prompt(promptToUse)
    , notices(noticesToUse)
    , chooser(std::move(chooserToUse))
{
}

void SaveFlow::setChooser(std::unique_ptr<SaveLocationChooser> newChooser)
{
    chooser = std::move(newChooser);
}

bool SaveFlow::isUnderWay() const
{
    return prompt.isOpenForSaving() || (chooser != nullptr && chooser->isOpen()) || questionOpen;
}

void SaveFlow::request()
{
    if (isUnderWay())
        return;

    const auto settings = processor.getUserSettings();
    if (settings.getArtistName().isNotEmpty() || settings.getDoNotAskAgain())
        chooseLocation();
    else
        prompt.show(true, [this] { chooseLocation(); });
}

void SaveFlow::chooseLocation()
{
    if (chooser == nullptr || chooser->isOpen())
        return;

    const auto& library = processor.getPresetLibrary();
    const auto generation = session.getCurveGeneration();
    chooser->open({dialogTitle, library.getUserFolder(), "*." + library.getExtension()},
                  [weakThis = juce::WeakReference<SaveFlow>(this), generation](const juce::File& chosen)
                  {
                      if (weakThis != nullptr)
                          weakThis->saveChosenFile(chosen, generation);
                  });
}

void SaveFlow::dropQuestion()
{
    if (!questionOpen)
        return;
    questionOpen = false;
    notices.dismissSaveNotice();
}

void SaveFlow::saveChosenFile(const juce::File& chosen, int generation)
{
    if (chosen == juce::File())
        return; // cancelled

    const auto& library = processor.getPresetLibrary();
    const auto target = PresetSaveTarget::withPresetExtension(chosen, library.getExtension());
    if (!PresetSaveTarget::replacesUnwarnedFile(library, chosen))
    {
        write(target, generation);
        return;
    }

    // The dialog warned about the name typed, not about the file that will be replaced: ask now.
    const auto written = PresetSaveTarget::writtenFile(library, target);
    notices.showSaveNotice("Replace existing preset?",
                           "\"" + written.getFileName() + "\" already exists in " +
                               written.getParentDirectory().getFullPathName() + ". Saving replaces it.",
                           {"Cancel", "Replace"},
                           [this, target, generation](int button)
                           {
                               questionOpen = false;
                               notices.dismissSaveNotice();
                               if (button == 1)
                                   write(target, generation);
                           });
    questionOpen = true;
}

void SaveFlow::write(const juce::File& target, int generation)
{
    // The curve shown when the user asked to save is the one to store; a new freeze, a refit or a
    // re-smoothing while the dialog was open would otherwise write a curve they did not choose.
    if (generation != session.getCurveGeneration() || !session.canSave())
    {
        showFailure("The curve changed while the save dialog was open, so \"" + target.getFileName() +
                    "\" was not written. Save again to store the curve now shown.");
        return;
    }

    auto& library = processor.getPresetLibrary();
    if (library.save(target))
        return;
    showFailure("Could not save \"" + target.getFileName() +
                "\": " + PresetSaveTarget::failureReason(library, target) + ".");
}

void SaveFlow::showFailure(const juce::String& message)
{
    notices.showSaveNotice("Preset not saved", message, {"OK"}, [this](int) { notices.dismissSaveNotice(); });
}
} // namespace ui_panels
