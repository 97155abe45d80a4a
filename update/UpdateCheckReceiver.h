#pragma once

#include <juce_core/juce_core.h>

namespace update_check
{
// Whoever started an update check (the editor). The answer reaches it on the message thread, and
// only while it exists: the check holds a weak reference to it.
class UpdateCheckReceiver
{
public:
    virtual ~UpdateCheckReceiver() = default;

    // The body of the server's answer (empty when the request failed) and the version that asked.
    virtual void handleUpdateCheckResult(const juce::String& response,
                                         const juce::String& currentVersion) = 0;

private:
    JUCE_DECLARE_WEAK_REFERENCEABLE(UpdateCheckReceiver)
};
} // namespace update_check
