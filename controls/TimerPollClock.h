#pragma once

#include "controls/PollClock.h"

#include <juce_events/juce_events.h>

namespace ui_core
{
// The framework's message-thread timer as a PollClock.
class TimerPollClock final : public PollClock, private juce::Timer
{
public:
    TimerPollClock() = default;
    ~TimerPollClock() override;

    void start(int intervalMilliseconds) override;
    void stop() override;
    int getIntervalMilliseconds() const override;

private:
    void timerCallback() override;
};
} // namespace ui_core
