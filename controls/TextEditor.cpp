#include "controls/TextEditor.h"

#include "controls/StyleColours.h"

namespace ui_core
{
// Draws the field with the style's rounded corners; the framework draws square ones.
class TextEditor::FieldLookAndFeel final : public juce::LookAndFeel_V4
{
public:
    float cornerRadius = 4.0f;

    void fillTextEditorBackground(juce::Graphics& g, int width, int height, juce::TextEditor& editor) override
    {
        g.setColour(editor.findColour(juce::TextEditor::backgroundColourId));
        g.fillRoundedRectangle(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height),
                               cornerRadius);
    }

    void drawTextEditorOutline(juce::Graphics& g, int width, int height, juce::TextEditor& editor) override
    {
        if (!editor.isEnabled())
            return;
        const auto focused = editor.hasKeyboardFocus(true) && !editor.isReadOnly();
        const auto thickness = focused ? 2.0f : 1.0f;
        g.setColour(editor.findColour(focused ? juce::TextEditor::focusedOutlineColourId
                                              : juce::TextEditor::outlineColourId));
        g.drawRoundedRectangle(juce::Rectangle<float>(static_cast<float>(width), static_cast<float>(height))
                                   .reduced(thickness / 2.0f),
                               cornerRadius, thickness);
    }
};

TextEditor::TextEditor(const juce::String& name)
    : juce::TextEditor(name)
    , fieldLook(std::make_unique<FieldLookAndFeel>())
{
    setLookAndFeel(fieldLook.get());
    applyStyle();
}

TextEditor::~TextEditor()
{
    setLookAndFeel(nullptr);
}

void TextEditor::setStyle(const TextEditorStyle& newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    applyStyle();
}

void TextEditor::applyStyle()
{
    applyFontToAllText(style.font);
    setJustification(juce::Justification(style.justification));

    setColour(juce::CaretComponent::caretColourId, style.caretColour);
    setColour(textColourId, style.textColour);
    setColour(backgroundColourId, atOpacity(style.backgroundColour, style.backgroundAlpha));
    setColour(highlightColourId, atOpacity(style.highlightColour, style.highlightAlpha));
    setColour(outlineColourId, atOpacity(style.outlineColour, style.outlineAlpha));
    setColour(focusedOutlineColourId, atOpacity(style.focusedOutlineColour, style.focusedOutlineAlpha));
    setColour(shadowColourId, atOpacity(style.shadowColour, style.shadowAlpha));

    // The scroll bars live inside the editor's viewport; each takes the thumb colour.
    setColour(juce::ScrollBar::thumbColourId, style.scrollbarThumbColour);
    std::function<void(juce::Component&)> colourScrollBars = [&](juce::Component& parent)
    {
        for (auto* child : parent.getChildren())
        {
            if (auto* scrollBar = dynamic_cast<juce::ScrollBar*>(child))
                scrollBar->setColour(juce::ScrollBar::thumbColourId, style.scrollbarThumbColour);
            colourScrollBars(*child);
        }
    };
    colourScrollBars(*this);

    setMultiLine(style.multiLine);
    setReadOnly(style.readOnly);
    fieldLook->cornerRadius = style.cornerRadius;
    setIndents(style.leftIndent, style.topIndent);
    repaint();
}

void TextEditor::enablementChanged()
{
    // Dimmed like every other disabled widget; the framework editor draws its text unchanged.
    setAlpha(isEnabled() ? 1.0f : 0.4f);
    juce::TextEditor::enablementChanged();
}

bool TextEditor::keyPressed(const juce::KeyPress& key)
{
    const auto modifiers = key.getModifiers();
    if (!(modifiers.isShiftDown() || modifiers.isCtrlDown() || modifiers.isAltDown()))
    {
        const auto* callback = key == juce::KeyPress::returnKey   ? &onReturnKey
                               : key == juce::KeyPress::escapeKey ? &onEscapeKey
                               : key == juce::KeyPress::upKey     ? &onUpKey
                               : key == juce::KeyPress::downKey   ? &onDownKey
                                                                  : nullptr;
        if (callback != nullptr && *callback)
        {
            // A copy: the callback may close the dialog that owns this editor.
            const auto handler = *callback;
            handler();
            return true;
        }
    }
    return juce::TextEditor::keyPressed(key);
}
} // namespace ui_core
