#pragma once

#include "controls/PollClock.h"
#include "controls/ValueDisplayStyle.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <atomic>
#include <functional>
#include <memory>

namespace ui_core
{
// A read-out of the control strip (scale, smoothing): a small label row above a value row, drawn as
// a tab hanging from the strip, following one or two parameters. While the mouse rests on it, its
// popup panel of knobs is shown: a poll every 100 ms keeps the popup open while the pointer is over
// the read-out or the popup, or while a popup knob is held, and closes it on the first poll that
// finds none of the three. Return or Space on the focused read-out opens the popup too, with the
// keyboard focus on its first control; such a popup also stays open while the focus is on the
// read-out or inside the popup, and Escape closes it and gives the focus back. The popup itself
// belongs to the owner, reached through the callbacks.
class ValueDisplay : public juce::Component,
                     public juce::SettableTooltipClient,
                     public juce::AudioProcessorValueTreeState::Listener,
                     private juce::Timer
{
public:
    ~ValueDisplay() override;

    void setStyle(const ValueDisplayStyle& newStyle);
    const ValueDisplayStyle& getStyle() const noexcept { return style; }

    // The label row above the value row, inside the paddings, with a gap of up to 2 px.
    struct Rows
    {
        juce::Rectangle<int> label, value;
    };
    static Rows rowsFor(int width, int height, const ValueDisplayStyle& style);

    // Whether the popup is open as far as the read-out knows.
    bool isPopupShown() const noexcept { return shown; }
    // Forgets an open popup without calling onPopupHide (the owner has hidden it itself).
    void clearPopupShown();

    // Set by the owner; each may stay empty, an empty query counts as false.
    std::function<void()> onPopupShow, onPopupHide;
    std::function<bool()> isPointerOverPopup, isPopupDragging;
    // The popup component, for the keyboard: focus goes into it and Escape is heard in it. Without
    // it the keyboard still opens the popup, and the focus stays on the read-out.
    std::function<juce::Component*()> getPopupComponent;

    // May be called on any thread, the audio thread included: stores the value and leaves the repaint
    // to the message thread.
    void parameterChanged(const juce::String& parameterID, float newValue) override;

    void paint(juce::Graphics& g) override;
    void mouseEnter(const juce::MouseEvent&) override;
    void mouseExit(const juce::MouseEvent&) override;
    void mouseDown(const juce::MouseEvent&) override;
    void mouseUp(const juce::MouseEvent&) override;
    bool keyPressed(const juce::KeyPress& key) override;
    void enablementChanged() override { repaint(); }
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

protected:
    // Follows the parameters (one or two) through the state, starting from their current values, or
    // from the fallback where a parameter does not exist. A null clock means the message-thread timer.
    ValueDisplay(juce::AudioProcessorValueTreeState& state, const juce::StringArray& parameterIDs,
                 float fallbackValue, std::unique_ptr<PollClock> clock);

    float getParameterValue(std::size_t index) const noexcept;

    // The rows inside the paddings: labels above, values below.
    virtual void paintRows(juce::Graphics& g, juce::Rectangle<int> labelRow, juce::Rectangle<int> valueRow,
                           float opacity) = 0;
    virtual juce::String getTitleText() const = 0;
    virtual juce::String getValueText() const = 0;

    // Draws one centred text, shortened with an ellipsis when too wide.
    void drawText(juce::Graphics& g, const juce::String& text, const juce::Font& font, juce::Colour colour,
                  juce::Rectangle<int> area, float opacity) const;

private:
    static constexpr int pollIntervalMilliseconds = 100;
    static constexpr int refreshIntervalMilliseconds = 50;

    // Escape pressed anywhere inside a popup opened from the keyboard.
    struct PopupKeys final : juce::KeyListener
    {
        explicit PopupKeys(ValueDisplay& displayToClose)
            : display(displayToClose)
        {
        }
        bool keyPressed(const juce::KeyPress& key, juce::Component*) override;
        ValueDisplay& display;
    };

    void poll();
    bool openPopupFromKeyboard();
    void closePopupFromKeyboard();
    void hidePopup();
    void forgetKeyboardOpening();
    bool holdsKeyboardFocus() const;
    void timerCallback() override;
    juce::Path tabShape() const;

    juce::AudioProcessorValueTreeState& state;
    juce::StringArray parameterIDs;
    std::array<std::atomic<float>, 2> values{};
    // Set by a parameter change off the message thread; a message-thread timer repaints.
    std::atomic<bool> valueChangedElsewhere{false};

    std::unique_ptr<PollClock> pollClock;
    ValueDisplayStyle style;
    bool hovered = false;
    bool pressed = false;
    bool shown = false;
    bool openedFromKeyboard = false;
    // The popup listened to for Escape while it is open from the keyboard.
    juce::Component::SafePointer<juce::Component> keyboardPopup;
    PopupKeys popupKeys{*this};
};
} // namespace ui_core
