#pragma once

#include "editor/SaveLocationChooser.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace ui_panels
{
// The platform's save dialog, launched asynchronously: the host's message loop keeps running while it
// is open. The chooser is held until its answer has been delivered; destroying this closes an open
// dialog without an answer.
class NativeSaveLocationChooser final : public SaveLocationChooser
{
public:
    NativeSaveLocationChooser() = default;

    void open(const Request& request, Answer answer) override;
    bool isOpen() const override { return chooser != nullptr; }

private:
    std::unique_ptr<juce::FileChooser> chooser;
};
} // namespace ui_panels
