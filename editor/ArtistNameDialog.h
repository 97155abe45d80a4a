#pragma once

#include "controls/TextButton.h"
#include "controls/TextEditor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace ui_panels
{
// Asks for the artist name that saved presets carry: a title, a line of explanation, a text field
// and a row of buttons. Before a save it offers Save, Skip and Don't Ask Again; otherwise Save and
// Cancel (the owner chooses with setSavingButtonsVisible).
class ArtistNameDialog final : public juce::Component
{
public:
    static constexpr int margin = 24;

    ArtistNameDialog();

    std::function<void(const juce::String& name)> onSave; // Save button or Return in the field
    std::function<void()> onCancel;                       // Cancel, Skip, Escape, a click beside the dialog
    std::function<void()> onDontAskAgain;

    // Skip and Don't Ask Again instead of Cancel; lays the buttons out again.
    void setSavingButtonsVisible(bool saving);
    // Puts a name into the field without notifying anyone.
    void setArtistName(const juce::String& name);

    ui_core::TextEditor& getTextField() noexcept { return textField; }
    const juce::String& getTitleText() const noexcept { return title; }
    const juce::String& getMessage() const noexcept { return message; }

    void paint(juce::Graphics& g) override;
    void resized() override;
    void focusGained(FocusChangeType cause) override;
    bool keyPressed(const juce::KeyPress& key) override;

private:
    void save();
    void cancel();

    juce::String title{"Set Artist Name"};
    juce::String message{"Enter your artist name to embed in preset files."};
    ui_core::TextEditor textField{"artistNameEditor"};
    ui_core::TextButton saveButton{"saveBtn"};
    ui_core::TextButton cancelButton{"cancelBtn"};
    ui_core::TextButton dontAskAgainButton{"dnaBtn"};
    ui_core::TextButton skipButton{"skipBtn"};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ArtistNameDialog)
};
} // namespace ui_panels
