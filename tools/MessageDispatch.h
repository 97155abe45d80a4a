#pragma once

#include <functional>

// The probe runs the framework's message loop itself (the build has no modal loops): refit results,
// table notifications and the window's timers arrive through it.
namespace MessageDispatch
{
// Dispatches the messages of the calling (message) thread for about the given time.
void runFor(double milliseconds);

// Dispatches until the condition holds or the timeout passes; returns the condition's last value.
bool runUntil(const std::function<bool()>& condition, double timeoutMilliseconds);
} // namespace MessageDispatch
