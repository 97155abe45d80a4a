#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace ui_core
{
// Coalesces repaint requests to the display's vertical blank, at most one frame per 16 ms however
// often data arrives. Where the platform's vertical-blank source is silent (a component without a
// window, or a display thread that never runs, as JUCE's DXGI thread under Wine), a timer serves a
// pending request after some tens of milliseconds, so that a window never freezes.
class RepaintThrottle : private juce::Timer
{
public:
    using Clock = std::function<double()>; // milliseconds
    using FrameCallback = std::function<void()>;

    static constexpr double minimumInterval = 16.0;
    static constexpr double fallbackDelay = 50.0;

    // `serveFrame` runs on the message thread for every served request.
    RepaintThrottle(juce::Component& owner, FrameCallback serveFrame);
    ~RepaintThrottle() override;

    // Marks a frame as wanted; attaches to the vertical blank on the first call. Never serves it
    // directly.
    void request();
    bool isPending() const noexcept { return pending; }

    // The vertical-blank step: serves a pending request unless the last one is less than 16 ms old,
    // in which case it stays pending for a later vertical blank.
    void verticalBlank();

    // Replaces the high-resolution clock (tests drive the throttle with a clock of their own).
    void setClock(Clock newClock);

private:
    void displayVerticalBlank();
    void timerCallback() override;

    juce::Component& owner;
    FrameCallback serveFrame;
    Clock clock;
    bool pending = false;
    double lastFrameTime = -1.0e9;
    double lastDisplayBlankTime = 0.0;
    juce::VBlankAttachment attachment;
};
} // namespace ui_core
