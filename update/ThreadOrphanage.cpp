#include "update/ThreadOrphanage.h"

#include <algorithm>

namespace update_check
{
JUCE_IMPLEMENT_SINGLETON(ThreadOrphanage)

namespace
{
constexpr int pollIntervalMs = 100;
} // namespace

void ThreadOrphanage::adopt(std::unique_ptr<juce::Thread> thread)
{
    JUCE_ASSERT_MESSAGE_THREAD
    if (thread == nullptr)
        return;
    thread->signalThreadShouldExit();

    if (auto* orphanage = getInstance())
    {
        orphanage->threads.push_back(std::move(thread));
        orphanage->startTimer(pollIntervalMs);
        return;
    }
    // Without a framework to poll with, the only safe end is to wait for it.
    thread->waitForThreadToExit(-1);
}

int ThreadOrphanage::unfinishedThreadCount()
{
    JUCE_ASSERT_MESSAGE_THREAD
    const auto* orphanage = getInstanceWithoutCreating();
    return orphanage != nullptr ? static_cast<int>(orphanage->threads.size()) : 0;
}

void ThreadOrphanage::timerCallback()
{
    threads.erase(std::remove_if(threads.begin(), threads.end(),
                                 [](const auto& thread) { return !thread->isThreadRunning(); }),
                  threads.end());
    if (threads.empty())
        stopTimer();
}

ThreadOrphanage::~ThreadOrphanage()
{
    stopTimer();
    for (auto& thread : threads)
        thread->waitForThreadToExit(-1);
    threads.clear();
    clearSingletonInstance();
}
} // namespace update_check
