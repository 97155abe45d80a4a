#pragma once

#include <functional>

namespace ui_core
{
// Calls onTick at a steady interval on the message thread. The widgets that poll the mouse take
// one, so that a test can drive their timing with a clock of its own; the window uses
// TimerPollClock.
class PollClock
{
public:
    virtual ~PollClock() = default;

    // Starts, or restarts with a fresh phase, the calls at the given interval; the first call comes
    // one interval later.
    virtual void start(int intervalMilliseconds) = 0;
    virtual void stop() = 0;

    // The running interval, 0 while stopped.
    virtual int getIntervalMilliseconds() const = 0;

    std::function<void()> onTick;
};
} // namespace ui_core
