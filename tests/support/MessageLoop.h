#pragma once

#include <juce_events/juce_events.h>

#include <chrono>
#include <functional>

namespace testsupport
{
// Runs the message loop of the calling (message) thread until the condition holds or the timeout
// passes. Returns the final value of the condition.
inline bool runMessageLoopUntil(const std::function<bool()>& condition,
                                std::chrono::milliseconds timeout = std::chrono::seconds(20))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition())
    {
        if (std::chrono::steady_clock::now() >= deadline)
            return condition();
        juce::MessageManager::getInstance()->runDispatchLoopUntil(5);
    }
    return true;
}
} // namespace testsupport
