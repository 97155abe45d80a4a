#pragma once

#include "update/UpdateCheckReceiver.h"
#include "update/UpdateRequest.h"

#include <juce_core/juce_core.h>

#include <memory>

namespace update_check
{
// One request for the latest version, on a thread of its own. Its answer is posted to the message
// thread and handed to the receiver if that still exists; an answer that arrives after a stop request
// is dropped.
class UpdateCheckThread final : public juce::Thread
{
public:
    // Asks the server at baseUrl (scheme, host, optional port: configuredUpdateServerBaseUrl() in the
    // product) for its version answer. Created, started and stopped on the message thread.
    UpdateCheckThread(const juce::String& baseUrl, juce::String currentVersion, UpdateCheckReceiver& receiver,
                      RequestLimits limits = {});
    ~UpdateCheckThread() override;

    void run() override;

    // For the receiver's destructor: asks the thread to stop and waits up to the given time. A thread
    // still inside its request then belongs to the ThreadOrphanage, which deletes it once the request
    // has ended by its own time limits; a thread is never killed, as that could leave the network
    // layer's locks held inside the host. Returns whether the thread had ended within the wait.
    static bool stopAndRelease(std::unique_ptr<UpdateCheckThread> thread, int waitMs = 500);

private:
    const juce::URL endpoint;
    const juce::String currentVersion;
    const juce::WeakReference<UpdateCheckReceiver> receiver;
    const RequestLimits limits;

    JUCE_DECLARE_NON_COPYABLE(UpdateCheckThread)
};
} // namespace update_check
