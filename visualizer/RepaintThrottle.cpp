#include "visualizer/RepaintThrottle.h"

namespace ui_core
{
RepaintThrottle::RepaintThrottle(juce::Component& ownerToServe, FrameCallback serve)
    : owner(ownerToServe)
    , serveFrame(std::move(serve))
    , clock([] { return juce::Time::getMillisecondCounterHiRes(); })
{
}

RepaintThrottle::~RepaintThrottle()
{
    stopTimer();
}

void RepaintThrottle::setClock(Clock newClock)
{
    clock = std::move(newClock);
}

void RepaintThrottle::request()
{
    pending = true;
    if (attachment.isEmpty())
    {
        lastDisplayBlankTime = clock();
        attachment = juce::VBlankAttachment(&owner, [this] { displayVerticalBlank(); });
    }
    if (!isTimerRunning())
        startTimer(static_cast<int>(fallbackDelay / 2.0));
}

void RepaintThrottle::displayVerticalBlank()
{
    lastDisplayBlankTime = clock();
    verticalBlank();
}

void RepaintThrottle::verticalBlank()
{
    if (!pending)
        return;
    const auto now = clock();
    if (now - lastFrameTime < minimumInterval)
        return;
    lastFrameTime = now;
    pending = false;
    serveFrame();
}

void RepaintThrottle::timerCallback()
{
    if (!pending)
    {
        stopTimer();
        return;
    }
    if (clock() - lastDisplayBlankTime >= fallbackDelay)
        verticalBlank();
}
} // namespace ui_core
