#pragma once

#include "controls/TextEditorStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

namespace ui_core
{
// The framework's text editor in the window's style (rounded field, themed colours), with callbacks
// for the keys the dialogs react to. Return, Escape and the up and down cursor keys, pressed without
// Shift, Ctrl or Alt, go to their callback when one is set; every other key goes to the editor.
class TextEditor final : public juce::TextEditor
{
public:
    explicit TextEditor(const juce::String& name = {});
    ~TextEditor() override;

    void setStyle(const TextEditorStyle& newStyle);
    const TextEditorStyle& getStyle() const noexcept { return style; }

    std::function<void()> onReturnKey, onEscapeKey, onUpKey, onDownKey;

    bool keyPressed(const juce::KeyPress& key) override;
    void enablementChanged() override;

private:
    class FieldLookAndFeel;

    void applyStyle();

    TextEditorStyle style;
    std::unique_ptr<FieldLookAndFeel> fieldLook;
};
} // namespace ui_core
