#pragma once

#include "core/PluginAudioProcessor.h"
#include "editor/ArtistNamePrompt.h"
#include "editor/MeasurementSession.h"
#include "editor/NoticeBoard.h"
#include "editor/SaveLocationChooser.h"

#include <memory>

namespace ui_panels
{
// Save button and Ctrl+S: the artist name first when none is stored, then the save dialog, a question
// when the file written would replace one the dialog did not warn about, and the preset written
// through the processor's library. Writes only the curve that was shown when the user asked, and says
// in the window when a save failed.
class SaveFlow
{
public:
    static constexpr const char* dialogTitle = "Save Transfer Function";

    SaveFlow(PluginAudioProcessor& processor, const MeasurementSession& session, ArtistNamePrompt& prompt,
             NoticeBoard& notices, std::unique_ptr<SaveLocationChooser> chooser);

    void request();
    // The save dialog, after the artist name has been asked for (or was not needed).
    void chooseLocation();
    // Play or a new freeze: a question about the file to replace no longer stands.
    void dropQuestion();

    bool isUnderWay() const;
    void setChooser(std::unique_ptr<SaveLocationChooser> chooser);
    // Closes an open save dialog without an answer (the window is going).
    void closeChooser() { chooser.reset(); }

private:
    void saveChosenFile(const juce::File& chosen, int generation);
    void write(const juce::File& target, int generation);
    void showFailure(const juce::String& message);

    PluginAudioProcessor& processor;
    const MeasurementSession& session;
    ArtistNamePrompt& prompt;
    NoticeBoard& notices;
    std::unique_ptr<SaveLocationChooser> chooser;
    bool questionOpen = false; // a save waits for the user's word

    JUCE_DECLARE_WEAK_REFERENCEABLE(SaveFlow)
};
} // namespace ui_panels
