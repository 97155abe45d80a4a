#include "controls/TimerPollClock.h"

namespace ui_core
{
TimerPollClock::~TimerPollClock()
{
    stopTimer();
}

void TimerPollClock::start(int intervalMilliseconds)
{
    startTimer(intervalMilliseconds);
}

void TimerPollClock::stop()
{
    stopTimer();
}

int TimerPollClock::getIntervalMilliseconds() const
{
    return getTimerInterval();
}

void TimerPollClock::timerCallback()
{
    if (onTick)
        onTick();
}
} // namespace ui_core
