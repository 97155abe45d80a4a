#pragma once

#include "controls/NumberBoxStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <optional>

namespace ui_core
{
// The compact numeric control of the control strip: an upper-case caption above the value. Dragging
// up or down changes the value (400 px for the whole range with the default sensitivity, ten times
// finer with Shift), a click without movement opens an editor to type a value. The Slider base
// supplies only the value, range, interval and listeners; the box draws and handles the mouse
// itself. Each drag, typed value and key step is one gesture, so that hosts record it.
class NumberBox final : public juce::Slider
{
public:
    explicit NumberBox(const juce::String& caption);
    ~NumberBox() override;

    void setStyle(const NumberBoxStyle& newStyle);
    const NumberBoxStyle& getStyle() const noexcept { return style; }
    const juce::String& getCaption() const noexcept { return caption; }

    // Opens the editor; does nothing while it is open.
    void startTextEditing();
    bool isEditing() const noexcept { return editing; }
    bool isDragging() const noexcept { return dragging; }

    // The value as the box shows it, without the suffix: whole numbers for whole-number intervals,
    // else one decimal, or enough decimals for two significant digits below 1 ("0.050", "0.25").
    static juce::String formatValue(double value, double interval);

    // The shown value with the style's suffix (also what screen readers hear).
    juce::String getTextFromValue(double value) override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void enablementChanged() override;
    void valueChanged() override { repaint(); }
    void mouseEnter(const juce::MouseEvent&) override;
    void mouseExit(const juce::MouseEvent&) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void mouseDoubleClick(const juce::MouseEvent&) override;
    void modifierKeysChanged(const juce::ModifierKeys& modifiers) override;
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    juce::Rectangle<int> editorBounds() const;
    void commitEdit();
    void closeEditor();
    void endDrag();
    void reanchor(bool fine);

    juce::String caption;
    NumberBoxStyle style;
    bool hovered = false;
    bool dragging = false;
    bool editing = false;

    // The press a drag is measured from; re-anchored when Shift changes during a drag.
    bool pressActive = false;
    bool movedSincePress = false;
    int anchorY = 0;
    int lastDragY = 0;
    double anchorValue = 0.0;
    bool anchorFine = false;

    // Held from the start of a drag to its release, so that the host sees one gesture.
    std::optional<juce::Slider::ScopedDragNotification> dragGesture;
    std::unique_ptr<juce::TextEditor> editor;
};
} // namespace ui_core
