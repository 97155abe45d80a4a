#pragma once

#include <juce_events/juce_events.h>

#include <chrono>
#include <functional>

namespace juce
{
// The framework's own single-step dispatcher (Linux and Windows). The product is built without
// modal loops, so MessageManager::runDispatchLoopUntil does not exist; tests step the queue
// themselves, exactly as the framework's dispatch loop does.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace testsupport
{
// Dispatches the messages of the calling (message) thread for about the given time.
inline void runMessageLoopFor(std::chrono::milliseconds duration)
{
    const auto deadline = std::chrono::steady_clock::now() + duration;
    do
    {
        if (!juce::dispatchNextMessageOnSystemQueue(true))
            juce::Thread::sleep(1);
    } while (std::chrono::steady_clock::now() < deadline);
}

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
        runMessageLoopFor(std::chrono::milliseconds(5));
    }
    return true;
}

// Runs the message loop until the count has not changed for the quiet time (or the limit passes).
// Lets a window's late exposures and focus repaints, which a loaded machine can delay well beyond
// any fixed wait, die down before a test counts paints of its own.
inline void runMessageLoopUntilQuiet(const std::function<int()>& count,
                                     std::chrono::milliseconds quiet = std::chrono::milliseconds(150),
                                     std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    auto last = count();
    auto lastChange = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < deadline)
    {
        runMessageLoopFor(std::chrono::milliseconds(10));
        const auto now = std::chrono::steady_clock::now();
        if (const auto current = count(); current != last)
        {
            last = current;
            lastChange = now;
        }
        else if (now - lastChange >= quiet)
        {
            return;
        }
    }
}
} // namespace testsupport
