#pragma once

#include <juce_core/juce_core.h>

#include <functional>

namespace ui_panels
{
// Asks the user where to save a preset, without blocking the message thread. The window uses the
// platform's save dialog (NativeSaveLocationChooser); tests answer in its place.
class SaveLocationChooser
{
public:
    struct Request
    {
        juce::String title;
        juce::File initialLocation;
        juce::String filePattern; // "*.tfunc"
    };

    // Called once, on the message thread, with the chosen file, or the empty path when cancelled.
    using Answer = std::function<void(const juce::File&)>;

    virtual ~SaveLocationChooser() = default;

    // Opens the dialog and returns at once. The dialog warns before an existing file is chosen.
    virtual void open(const Request& request, Answer answer) = 0;
    virtual bool isOpen() const = 0;
};
} // namespace ui_panels
