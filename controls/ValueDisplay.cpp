#include "controls/ValueDisplay.h"

#include "controls/StyleColours.h"
#include "controls/TimerPollClock.h"
#include "controls/WidgetAccessibilityHandler.h"

namespace ui_core
{
ValueDisplay::ValueDisplay(juce::AudioProcessorValueTreeState& parameterState, const juce::StringArray& ids,
                           float fallbackValue, std::unique_ptr<PollClock> clock)
    : state(parameterState)
    , parameterIDs(ids)
    , pollClock(clock != nullptr ? std::move(clock) : std::make_unique<TimerPollClock>())
{
    jassert(ids.size() >= 1 && ids.size() <= static_cast<int>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        const auto* value =
            static_cast<int>(i) < ids.size() ? state.getRawParameterValue(ids[static_cast<int>(i)]) : nullptr;
        values[i].store(value != nullptr ? value->load() : fallbackValue);
    }
    for (const auto& id : parameterIDs)
        state.addParameterListener(id, this);

    pollClock->onTick = [this] { poll(); };
    setWantsKeyboardFocus(true);
    // Repaints for changes that arrive on other threads; a tick that finds nothing new does nothing.
    startTimer(refreshIntervalMilliseconds);
}

ValueDisplay::~ValueDisplay()
{
    stopTimer();
    pollClock->stop();
    pollClock->onTick = nullptr;
    forgetKeyboardOpening();
    for (const auto& id : parameterIDs)
        state.removeParameterListener(id, this);
}

void ValueDisplay::setStyle(const ValueDisplayStyle& newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    repaint();
}

void ValueDisplay::clearPopupShown()
{
    forgetKeyboardOpening();
    if (!shown)
        return;
    shown = false;
    repaint();
}

float ValueDisplay::getParameterValue(std::size_t index) const noexcept
{
    return values[std::min(index, values.size() - 1)].load();
}

void ValueDisplay::parameterChanged(const juce::String& parameterID, float newValue)
{
    const auto index = parameterIDs.indexOf(parameterID);
    if (index < 0 || index >= static_cast<int>(values.size()))
        return;
    values[static_cast<std::size_t>(index)].store(newValue);

    if (juce::MessageManager::existsAndIsCurrentThread())
        repaint();
    else
        valueChangedElsewhere.store(true);
}

void ValueDisplay::timerCallback()
{
    if (valueChangedElsewhere.exchange(false))
        repaint();
}

void ValueDisplay::mouseEnter(const juce::MouseEvent&)
{
    if (!isEnabled())
        return;
    hovered = true;
    repaint();
    pollClock->start(pollIntervalMilliseconds);
    poll();
}

void ValueDisplay::mouseExit(const juce::MouseEvent&)
{
    hovered = false;
    repaint();
}

void ValueDisplay::mouseDown(const juce::MouseEvent&)
{
    pressed = true;
    repaint();
}

void ValueDisplay::mouseUp(const juce::MouseEvent&)
{
    pressed = false;
    repaint();
}

void ValueDisplay::poll()
{
    const auto mouse = getMouseXYRelative();
    const auto inside = mouse.x >= 0 && mouse.x < getWidth() && mouse.y >= 0 && mouse.y < getHeight();
    const auto keepOpen = inside || (isPointerOverPopup && isPointerOverPopup()) ||
                          (isPopupDragging && isPopupDragging()) ||
                          (openedFromKeyboard && holdsKeyboardFocus());

    if (keepOpen && !shown)
    {
        shown = true;
        if (onPopupShow)
            onPopupShow();
        repaint();
    }
    else if (!keepOpen && shown)
    {
        hidePopup();
    }
}

bool ValueDisplay::keyPressed(const juce::KeyPress& key)
{
    if (key == juce::KeyPress::returnKey || key == juce::KeyPress::spaceKey)
        return openPopupFromKeyboard();
    if (key == juce::KeyPress::escapeKey && shown && openedFromKeyboard)
    {
        closePopupFromKeyboard();
        return true;
    }
    return false;
}

bool ValueDisplay::PopupKeys::keyPressed(const juce::KeyPress& key, juce::Component*)
{
    if (key != juce::KeyPress::escapeKey || !display.shown || !display.openedFromKeyboard)
        return false;
    display.closePopupFromKeyboard();
    return true;
}

bool ValueDisplay::openPopupFromKeyboard()
{
    if (!isEnabled())
        return false;
    if (!shown)
    {
        shown = true;
        if (onPopupShow)
            onPopupShow();
        repaint();
    }
    // A poll already running for the mouse keeps its phase.
    if (pollClock->getIntervalMilliseconds() == 0)
        pollClock->start(pollIntervalMilliseconds);

    openedFromKeyboard = true;
    auto* popup = getPopupComponent ? getPopupComponent() : nullptr;
    if (popup != keyboardPopup.getComponent())
    {
        if (keyboardPopup != nullptr)
            keyboardPopup->removeKeyListener(&popupKeys);
        keyboardPopup = popup;
        if (popup != nullptr)
            popup->addKeyListener(&popupKeys);
    }
    if (popup != nullptr)
        popup->grabKeyboardFocus();
    return true;
}

void ValueDisplay::closePopupFromKeyboard()
{
    // The focus comes back first: a popup hidden while it holds the focus would pass it to the owner.
    grabKeyboardFocus();
    hidePopup();
}

void ValueDisplay::hidePopup()
{
    forgetKeyboardOpening();
    shown = false;
    if (onPopupHide)
        onPopupHide();
    repaint();
}

void ValueDisplay::forgetKeyboardOpening()
{
    openedFromKeyboard = false;
    if (keyboardPopup != nullptr)
        keyboardPopup->removeKeyListener(&popupKeys);
    keyboardPopup = nullptr;
}

bool ValueDisplay::holdsKeyboardFocus() const
{
    return hasKeyboardFocus(false) || (keyboardPopup != nullptr && keyboardPopup->hasKeyboardFocus(true));
}

juce::Path ValueDisplay::tabShape() const
{
    // Straight along the top, rounded at the bottom: the read-out hangs from the strip's edge.
    const auto w = static_cast<float>(getWidth());
    const auto h = static_cast<float>(getHeight());
    const auto rx = std::min(w / 2.0f, style.cornerRadius);
    const auto ry = std::min(h / 2.0f, style.cornerRadius);
    juce::Path path;
    path.startNewSubPath(0.0f, 0.0f);
    path.lineTo(w, 0.0f);
    path.lineTo(w, h - ry);
    path.cubicTo(w, h - 0.45f * ry, w - 0.45f * rx, h, w - rx, h);
    path.lineTo(rx, h);
    path.cubicTo(0.45f * rx, h, 0.0f, h - 0.45f * ry, 0.0f, h - ry);
    path.closeSubPath();
    return path;
}

void ValueDisplay::paint(juce::Graphics& g)
{
    const auto enabled = isEnabled();
    const auto opacity = enabled ? 1.0f : 0.4f;

    auto background = atOpacity(style.backgroundColour, style.backgroundAlpha);
    if (enabled && pressed)
        background = atOpacity(style.pressedBackgroundColour, style.pressedBackgroundAlpha);
    else if (enabled && (hovered || shown))
        background = atOpacity(style.hoverBackgroundColour, style.hoverBackgroundAlpha);

    const auto shape = tabShape();
    if (!background.isTransparent())
    {
        g.setColour(background);
        g.fillPath(shape);
    }
    if (enabled && (hovered || shown))
    {
        g.setColour(atOpacity(style.borderColour, style.borderAlpha));
        g.strokePath(shape, juce::PathStrokeType(style.borderThickness));
    }

    const auto rows = rowsFor(getWidth(), getHeight(), style);
    paintRows(g, rows.label, rows.value, opacity);
}

ValueDisplay::Rows ValueDisplay::rowsFor(int width, int height, const ValueDisplayStyle& style)
{
    const auto px = style.horizontalPadding;
    const auto py = style.verticalPadding;
    const auto contentWidth = std::max(width - 2 * px, 0);
    const auto contentHeight = std::max(height - 2 * py, 0);
    const auto labelHeight = contentHeight / 2;
    const auto gap = std::min(contentHeight - labelHeight, 2);
    const auto valueHeight = contentHeight - labelHeight - gap;
    return {{px, py, contentWidth, labelHeight}, {px, py + labelHeight + gap, contentWidth, valueHeight}};
}

void ValueDisplay::drawText(juce::Graphics& g, const juce::String& text, const juce::Font& font,
                            juce::Colour colour, juce::Rectangle<int> area, float opacity) const
{
    if (area.isEmpty())
        return;
    g.setColour(fadedBy(colour, opacity));
    g.setFont(font);
    g.drawText(text, area, juce::Justification::centred, true);
}

std::unique_ptr<juce::AccessibilityHandler> ValueDisplay::createAccessibilityHandler()
{
    return std::make_unique<WidgetAccessibilityHandler>(
        *this, juce::AccessibilityRole::staticText,
        juce::AccessibilityActions()
            .addAction(juce::AccessibilityActionType::press, [this] { openPopupFromKeyboard(); })
            .addAction(juce::AccessibilityActionType::showMenu, [this] { openPopupFromKeyboard(); }),
        [this] { return getTitleText(); }, [this] { return getValueText(); });
}
} // namespace ui_core
