#pragma once

#include "controls/TextButton.h"
#include "update/UpdateDialogContent.h"
#include "update/UpdateDialogLayout.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <vector>

namespace update_check
{
// The card that shows the state of an update check: a title, a message, an optional list of changes
// and the Close and Download buttons. Its height follows its texts; its width is fixed.
class UpdateCheckDialog final : public juce::Component
{
public:
    UpdateCheckDialog();

    // Called by the Close button and by a click beside the card (through the overlay). The owner
    // detaches the overlay and deletes it on a later turn of the message loop.
    std::function<void()> onClose;
    // Called by the Download button with the download address; opens it in the browser by default.
    std::function<void(const juce::String& url)> onDownload;

    // Each change recomputes the height and repaints.
    void setTitle(const juce::String& newTitle);
    void setMessage(const juce::String& newMessage);
    void setChanges(const juce::StringArray& newChanges);
    void setDownloadUrl(const juce::String& newUrl);
    void setDownloadButtonVisible(bool shouldBeVisible);
    // All of a state at once: the texts, the address, and the Download button shown exactly when
    // there is an address.
    void showContent(const UpdateDialogContent& content);

    const juce::String& getTitleText() const noexcept { return title; }
    const juce::String& getMessage() const noexcept { return message; }
    const juce::StringArray& getChanges() const noexcept { return changes; }
    const juce::String& getDownloadUrl() const noexcept { return downloadUrl; }
    bool isDownloadButtonVisible() const { return downloadButton.isVisible(); }

    // Re-applies the themed button style after a theme change (texts take the palette when painted).
    void applyTheme();

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    void updateHeight();

    juce::String title{"Update Check"};
    juce::String message;
    juce::StringArray changes;
    juce::String downloadUrl;
    UpdateDialogTextLayout textLayout;

    ui_core::TextButton closeButton{"closeBtn"};
    ui_core::TextButton downloadButton{"downloadBtn"};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(UpdateCheckDialog)
};
} // namespace update_check
