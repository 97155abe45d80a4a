#include "tools/MessageDispatch.h"

#include <juce_events/juce_events.h>

namespace juce
{
// The framework's single-step dispatcher (Linux and Windows).
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace MessageDispatch
{
void runFor(double milliseconds)
{
    const auto end = juce::Time::getMillisecondCounterHiRes() + milliseconds;
    do
    {
        if (!juce::dispatchNextMessageOnSystemQueue(true))
            juce::Thread::sleep(1);
    } while (juce::Time::getMillisecondCounterHiRes() < end);
}

bool runUntil(const std::function<bool()>& condition, double timeoutMilliseconds)
{
    const auto deadline = juce::Time::getMillisecondCounterHiRes() + timeoutMilliseconds;
    while (!condition())
    {
        if (juce::Time::getMillisecondCounterHiRes() >= deadline)
            return condition();
        runFor(5.0);
    }
    return true;
}
} // namespace MessageDispatch
