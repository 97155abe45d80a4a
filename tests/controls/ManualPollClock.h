#pragma once

#include "controls/PollClock.h"

#include <algorithm>

namespace testsupport
{
// A poll clock whose time the test moves on, ticking as the framework's timer would: one tick per
// elapsed interval, and a restart begins a fresh interval.
class ManualPollClock final : public ui_core::PollClock
{
public:
    void start(int intervalMilliseconds) override
    {
        interval = intervalMilliseconds;
        elapsed = 0;
    }
    void stop() override { interval = 0; }
    int getIntervalMilliseconds() const override { return interval; }

    void advance(int milliseconds)
    {
        while (interval > 0 && milliseconds >= interval - elapsed)
        {
            milliseconds -= interval - elapsed;
            elapsed = 0;
            ++ticks;
            if (onTick)
                onTick();
        }
        if (interval > 0)
            elapsed += milliseconds;
    }

    // Moves on to the next tick, however long the interval.
    void tick() { advance(std::max(interval - elapsed, 0)); }

    int ticks = 0;

private:
    int interval = 0;
    int elapsed = 0;
};
} // namespace testsupport
