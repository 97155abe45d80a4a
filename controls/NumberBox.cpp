#include "controls/NumberBox.h"

#include "controls/AccessibleSliderHandler.h"
#include "controls/DeferredDeletion.h"
#include "controls/SliderKeyboardControl.h"
#include "controls/StyleColours.h"

#include <cmath>

namespace ui_core
{
namespace
{
constexpr int dragThreshold = 3;

bool isWholeNumberInterval(double interval)
{
    return interval >= 0.999999999;
}
} // namespace

NumberBox::NumberBox(const juce::String& captionText)
    : juce::Slider(juce::Slider::LinearVertical, juce::Slider::NoTextBox)
    , caption(captionText)
{
    setRange(0.0, 1024.0, 1.0);
    setValue(0.0, juce::dontSendNotification);
    setWantsKeyboardFocus(true);
    setSize(80, 40);
}

NumberBox::~NumberBox()
{
    dragGesture.reset();
    if (editor != nullptr)
    {
        // Destroying the box discards what was typed.
        editor->onReturnKey = editor->onEscapeKey = editor->onFocusLost = nullptr;
        editor.reset();
    }
}

void NumberBox::setStyle(const NumberBoxStyle& newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    repaint();
}

juce::String NumberBox::formatValue(double value, double interval)
{
    if (isWholeNumberInterval(interval))
        return juce::String(juce::roundToInt(value));

    auto decimals = 1;
    const auto magnitude = std::abs(value);
    if (magnitude > 0.0 && magnitude < 1.0)
        decimals = juce::jlimit(1, 9, 1 - static_cast<int>(std::floor(std::log10(magnitude))));
    return juce::String(value, decimals);
}

juce::String NumberBox::getTextFromValue(double value)
{
    return formatValue(value, getInterval()) + style.suffix;
}

void NumberBox::paint(juce::Graphics& g)
{
    const auto enabled = isEnabled();
    const auto opacity = enabled ? 1.0f : 0.4f;
    const auto width = getWidth();
    const auto height = getHeight();

    auto background = style.backgroundColour;
    auto backgroundAlpha = style.backgroundAlpha;
    auto border = style.borderColour;
    auto borderAlpha = style.borderAlpha;
    if (enabled && editing)
    {
        background = style.editBackgroundColour, backgroundAlpha = style.editBackgroundAlpha;
        border = style.editBorderColour, borderAlpha = style.editBorderAlpha;
    }
    else if (enabled && (dragging || hovered))
    {
        background = dragging ? style.dragBackgroundColour : style.hoverBackgroundColour;
        backgroundAlpha = dragging ? style.dragBackgroundAlpha : style.hoverBackgroundAlpha;
        border = style.activeBorderColour, borderAlpha = style.activeBorderAlpha;
    }

    const auto bounds = getLocalBounds().toFloat();
    if (backgroundAlpha > 0.0f)
    {
        g.setColour(atOpacity(background, backgroundAlpha));
        g.fillRoundedRectangle(bounds, style.cornerRadius);
    }
    if (borderAlpha > 0.0f)
    {
        g.setColour(atOpacity(border, borderAlpha));
        g.drawRoundedRectangle(bounds, style.cornerRadius, style.borderThickness);
    }

    if (editing)
        return;

    const auto px = style.horizontalPadding;
    const auto py = style.verticalPadding;
    const auto content = std::max(height - 2 * py, 0);
    const auto captionHeight = std::min(content, (content - style.rowGap) / 2);
    const auto gap = std::min(style.rowGap, content - captionHeight);
    const auto valueHeight = content - captionHeight - gap;
    const auto w = std::max(width - 2 * px, 0);
    const juce::Justification justification(style.justification);

    if (caption.isNotEmpty() && captionHeight > 0)
    {
        g.setColour(fadedBy(style.captionColour, opacity));
        g.setFont(style.captionFont);
        g.drawText(caption.toUpperCase(), px, py, w, captionHeight, justification, true);
    }
    if (valueHeight > 0)
    {
        g.setColour(fadedBy(style.valueColour, opacity));
        g.setFont(style.valueFont);
        g.drawText(getTextFromValue(getValue()), px, py + captionHeight + gap, w, valueHeight, justification,
                   true);
    }
}

void NumberBox::resized()
{
    if (editor != nullptr)
        editor->setBounds(editorBounds());
}

void NumberBox::enablementChanged()
{
    // A box disabled in the middle of a drag ends the drag, and with it the gesture.
    if (!isEnabled())
        endDrag();
    repaint();
}

void NumberBox::mouseEnter(const juce::MouseEvent&)
{
    hovered = true;
    repaint();
}

void NumberBox::mouseExit(const juce::MouseEvent&)
{
    hovered = false;
    repaint();
}

void NumberBox::mouseDown(const juce::MouseEvent& e)
{
    if (!isEnabled() || editing)
        return;
    pressActive = true;
    movedSincePress = false;
    anchorY = lastDragY = e.getPosition().y;
    anchorValue = getValue();
    anchorFine = e.mods.isShiftDown();
    dragging = false;
    repaint();
}

void NumberBox::mouseDrag(const juce::MouseEvent& e)
{
    if (editing || !pressActive || !isEnabled())
        return;

    const auto y = lastDragY = e.getPosition().y;
    if (e.getPosition() != e.getMouseDownPosition())
        movedSincePress = true;

    if (dragging && e.mods.isShiftDown() != anchorFine)
        reanchor(e.mods.isShiftDown());

    const auto distance = anchorY - y;
    if (!dragging)
    {
        if (std::abs(distance) < dragThreshold)
            return;
        dragging = true;
        dragGesture.emplace(*this);
        repaint();
    }

    auto pixelsPerRange = static_cast<double>(style.dragSensitivity) * 100.0;
    if (anchorFine)
        pixelsPerRange /= 0.1;

    auto value = anchorValue;
    if (getMaximum() > getMinimum())
    {
        const auto proportion =
            juce::jlimit(0.0, 1.0, valueToProportionOfLength(anchorValue) + distance / pixelsPerRange);
        value = proportionOfLengthToValue(proportion);
    }
    value = juce::jlimit(getMinimum(), getMaximum(), value);
    if (getInterval() > 0.0)
        value = std::round(value / getInterval()) * getInterval();
    setValue(value, juce::sendNotificationSync);
}

void NumberBox::reanchor(bool fine)
{
    anchorY = lastDragY;
    anchorValue = getValue();
    anchorFine = fine;
}

void NumberBox::modifierKeysChanged(const juce::ModifierKeys& modifiers)
{
    // Shift pressed or released without moving the mouse: the drag continues from here, at the new
    // speed, without waiting for the next movement.
    if (dragging && !editing && modifiers.isShiftDown() != anchorFine)
        reanchor(modifiers.isShiftDown());
}

void NumberBox::mouseUp(const juce::MouseEvent&)
{
    if (editing || !pressActive)
        return;
    const auto clickWithoutMovement = !dragging && !movedSincePress;
    endDrag();
    if (clickWithoutMovement)
        startTextEditing();
    repaint();
}

void NumberBox::endDrag()
{
    pressActive = false;
    dragging = false;
    dragGesture.reset();
}

void NumberBox::mouseDoubleClick(const juce::MouseEvent&)
{
    if (isEnabled() && !editing)
        startTextEditing();
}

bool NumberBox::keyPressed(const juce::KeyPress& key)
{
    if (editing || !isEnabled())
        return false;
    if (key == juce::KeyPress::returnKey)
    {
        startTextEditing();
        return true;
    }
    return stepSliderWithKey(*this, key);
}

juce::Rectangle<int> NumberBox::editorBounds() const
{
    const auto px = style.horizontalPadding;
    const auto py = style.verticalPadding;
    return {px, py, std::max(getWidth() - 2 * px, 0), std::max(getHeight() - 2 * py, 0)};
}

void NumberBox::startTextEditing()
{
    if (editing)
        return;
    editing = true;

    const auto interval = getInterval();
    const auto negativeAllowed = getMinimum() < 0.0;
    const auto maximumLength = 5 + (negativeAllowed ? 1 : 0) + (interval < 0.999999999 ? 2 : 0);

    editor = std::make_unique<juce::TextEditor>("valueEntry");
    editor->setFont(style.valueFont);
    editor->setColour(juce::TextEditor::textColourId, style.editTextColour);
    editor->setColour(juce::CaretComponent::caretColourId, style.editTextColour);

    for (const auto id : {juce::TextEditor::backgroundColourId, juce::TextEditor::outlineColourId,
                          juce::TextEditor::focusedOutlineColourId})
        editor->setColour(id, juce::Colours::transparentBlack);
    // The selection in the edit colour rather than the framework's blue.
    editor->setColour(juce::TextEditor::highlightColourId, style.editTextColour.withMultipliedAlpha(0.25f));
    editor->setColour(juce::TextEditor::highlightedTextColourId, style.editTextColour);

    editor->setJustification(juce::Justification::centred);
    editor->setInputRestrictions(maximumLength, negativeAllowed ? "0123456789.-" : "0123456789.");
    editor->setText(isWholeNumberInterval(interval) ? juce::String(juce::roundToInt(getValue()))
                                                    : juce::String(getValue(), 2),
                    juce::dontSendNotification);
    editor->selectAll();
    editor->onReturnKey = [this] { commitEdit(); };
    editor->onFocusLost = [this] { commitEdit(); };
    editor->onEscapeKey = [this] { closeEditor(); };

    editor->setBounds(editorBounds());
    addAndMakeVisible(*editor);
    editor->grabKeyboardFocus();
    repaint();
}

void NumberBox::commitEdit()
{
    if (!editing || editor == nullptr)
        return;

    auto value = editor->getText().getDoubleValue();
    if (getInterval() > 0.0)
        value = std::round(value / getInterval()) * getInterval();
    value = juce::jlimit(getMinimum(), getMaximum(), value);

    closeEditor();

    if (value != getValue())
    {
        const juce::Slider::ScopedDragNotification gesture(*this);
        setValue(value, juce::sendNotificationSync);
    }
}

void NumberBox::closeEditor()
{
    editing = false;
    if (editor != nullptr)
    {
        // Usually inside the editor's own key or focus callback: detach now, delete later, and keep
        // its pending focus-loss message from committing again.
        editor->onReturnKey = editor->onEscapeKey = editor->onFocusLost = nullptr;
        deleteOnNextMessageLoopTurn(std::move(editor));
    }
    repaint();
}

std::unique_ptr<juce::AccessibilityHandler> NumberBox::createAccessibilityHandler()
{
    return std::make_unique<AccessibleSliderHandler>(*this, [this] { return caption; });
}
} // namespace ui_core
