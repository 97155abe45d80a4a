#pragma once

#include "support/MessageLoop.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <chrono>

namespace testsupport
{
// A top-level window on the (Xvfb) desktop holding the components under test, and a mouse and a
// keyboard that reach them the way a host's events do: through the window's peer, so that hover,
// drag thresholds, double-click timing and keyboard focus are the framework's own. The real pointer
// is moved along, because some code asks the desktop where the mouse is rather than the event.
class DesktopWindow
{
public:
    explicit DesktopWindow(int width = 400, int height = 300)
    {
        content.setOpaque(true);
        content.setBounds(60, 60, width, height);
        content.addToDesktop(juce::ComponentPeer::windowAppearsOnTaskbar);
        content.setVisible(true);
        // Focus goes to a mapped window only; wait for the window to appear.
        runMessageLoopUntil(
            [this]
            {
                peer().grabFocus();
                return peer().isFocused();
            });
        eventTime = juce::Time::currentTimeMillis();
    }

    ~DesktopWindow()
    {
        juce::ModifierKeys::currentModifiers = {};
        content.removeFromDesktop();
    }

    juce::Component& root() { return content; }
    juce::ComponentPeer& peer() { return *content.getPeer(); }

    void add(juce::Component& component, juce::Rectangle<int> bounds)
    {
        component.setBounds(bounds);
        content.addAndMakeVisible(component);
    }

    // A point of a component, in window coordinates (default: its centre).
    juce::Point<float> pointIn(const juce::Component& component, juce::Point<float> local) const
    {
        return content.getLocalPoint(&component, local);
    }
    juce::Point<float> centreOf(const juce::Component& component) const
    {
        return pointIn(component, component.getLocalBounds().toFloat().getCentre());
    }

    // Mouse events, positions in window coordinates. Held buttons and keyboard modifiers (Shift)
    // are passed along as the platform layer passes them.
    void move(juce::Point<float> position, juce::ModifierKeys keys = {}) { send(position, keys, false); }
    void press(juce::Point<float> position, juce::ModifierKeys keys = {})
    {
        send(position, keys, false);
        send(position, keys, true);
    }
    void drag(juce::Point<float> position, juce::ModifierKeys keys = {}) { send(position, keys, true); }
    void release(juce::ModifierKeys keys = {}) { send(lastPosition, keys, false); }

    // A modifier key (Shift) pressed or released without moving the mouse, as the platform layer
    // reports it.
    void changeModifiers(juce::ModifierKeys keys)
    {
        const auto buttons =
            juce::ModifierKeys::currentModifiers.getRawFlags() & juce::ModifierKeys::allMouseButtonModifiers;
        juce::ModifierKeys::currentModifiers = keys.withFlags(buttons);
        peer().handleModifierKeysChange();
    }
    void click(juce::Point<float> position, juce::ModifierKeys keys = {})
    {
        press(position, keys);
        release(keys);
    }
    void doubleClick(juce::Point<float> position)
    {
        click(position);
        advance(std::chrono::milliseconds(80));
        click(position);
    }

    // Moves the event clock on (double-click timing is measured with it).
    void advance(std::chrono::milliseconds duration) { eventTime += duration.count(); }

    bool key(const juce::KeyPress& keyPress) { return peer().handleKeyPress(keyPress); }
    void type(const juce::String& text)
    {
        for (const auto character : text)
            key(juce::KeyPress(static_cast<int>(character), {}, character));
    }

    // Runs the message loop for a while: posted calls, timers, repaints.
    static void pump(std::chrono::milliseconds duration = std::chrono::milliseconds(30))
    {
        runMessageLoopUntil([] { return false; }, duration);
    }

private:
    void send(juce::Point<float> position, juce::ModifierKeys keys, bool buttonDown)
    {
        eventTime += 10;
        lastPosition = position;
        const auto modifiers =
            buttonDown ? keys.withFlags(juce::ModifierKeys::leftButtonModifier) : keys.withoutMouseButtons();
        juce::ModifierKeys::currentModifiers = modifiers;
        juce::Desktop::setMousePosition(content.localPointToGlobal(position).roundToInt());
        peer().handleMouseEvent(juce::MouseInputSource::InputSourceType::mouse, position, modifiers,
                                juce::MouseInputSource::defaultPressure,
                                juce::MouseInputSource::defaultOrientation, eventTime);
    }

    struct Background : juce::Component
    {
        void paint(juce::Graphics& g) override { g.fillAll(juce::Colour(0xff121214)); }
    };

    Background content;
    juce::int64 eventTime = 0;
    juce::Point<float> lastPosition;
};
// The menu window the framework shows, found the way a screen reader finds it: by its role.
inline juce::Component* shownPopupMenu()
{
    auto& desktop = juce::Desktop::getInstance();
    for (int i = 0; i < desktop.getNumComponents(); ++i)
        if (auto* window = desktop.getComponent(i); window != nullptr && window->isShowing())
            if (auto* handler = window->getAccessibilityHandler())
                if (handler->getRole() == juce::AccessibilityRole::popupMenu)
                    return window;
    return nullptr;
}
} // namespace testsupport
