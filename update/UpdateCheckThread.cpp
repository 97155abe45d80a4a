#include "update/UpdateCheckThread.h"

#include "update/ThreadOrphanage.h"
#include "update/UpdateServer.h"

namespace update_check
{
UpdateCheckThread::UpdateCheckThread(const juce::String& baseUrl, juce::String version,
                                     UpdateCheckReceiver& owner, RequestLimits requestLimits)
    : juce::Thread("UpdateCheck")
    , endpoint(versionEndpoint(baseUrl))
    , currentVersion(std::move(version))
    , receiver(&owner)
    , limits(requestLimits)
{
}

UpdateCheckThread::~UpdateCheckThread()
{
    // Deleted only once run() has returned (stopAndRelease sees to it).
    jassert(!isThreadRunning());
}

void UpdateCheckThread::run()
{
    auto response = fetchResponseBody(endpoint, limits, [this] { return threadShouldExit(); });
    if (threadShouldExit())
        return;

    juce::MessageManager::callAsync(
        [target = receiver, response = std::move(response), version = currentVersion]
        {
            if (auto* alive = target.get())
                alive->handleUpdateCheckResult(response, version);
        });
}

bool UpdateCheckThread::stopAndRelease(std::unique_ptr<UpdateCheckThread> thread, int waitMs)
{
    if (thread == nullptr)
        return true;

    thread->signalThreadShouldExit();
    thread->notify();
    if (thread->waitForThreadToExit(waitMs))
        return true;

    ThreadOrphanage::adopt(std::move(thread));
    return false;
}
} // namespace update_check
