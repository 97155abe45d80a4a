#pragma once

#include "controls/TextButton.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <vector>

namespace ui_panels
{
// A small card over the top of the plot that tells the user about something that needs their word (a
// file to be replaced) or about a save or a fit that failed. It blocks nothing: the window stays
// usable around it, and the card stays until one of its buttons is pressed.
class NoticePanel final : public juce::Component
{
public:
    static constexpr int maximumWidth = 400;
    static constexpr int padding = 16;

    // Buttons from left to right; onButton receives the index of the one pressed.
    NoticePanel(const juce::String& title, const juce::String& message, const juce::StringArray& buttons);

    std::function<void(int buttonIndex)> onButton;

    const juce::String& getTitleText() const noexcept { return title; }
    const juce::String& getMessage() const noexcept { return message; }
    ui_core::TextButton* getButton(int index) const;

    // The height the card needs at the given width.
    int getPreferredHeight(int width) const;

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    juce::TextLayout messageLayout(float width) const;

    juce::String title, message;
    std::vector<std::unique_ptr<ui_core::TextButton>> buttons;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(NoticePanel)
};
} // namespace ui_panels
