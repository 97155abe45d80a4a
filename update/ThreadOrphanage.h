#pragma once

#include <juce_events/juce_events.h>

#include <memory>
#include <vector>

namespace update_check
{
// Keeps threads that were asked to stop but have not ended yet (a request still waiting for its
// timeout) and deletes each once it has ended. At shutdown of the framework (when the last plug-in
// instance goes, before the library can be unloaded) it waits for the ones left, so that no thread
// runs code of an unloaded library and none is leaked. Message thread only.
class ThreadOrphanage final : private juce::Timer, public juce::DeletedAtShutdown
{
public:
    // Takes a thread that has been asked to stop.
    static void adopt(std::unique_ptr<juce::Thread> thread);

    // How many adopted threads have not been deleted yet.
    static int unfinishedThreadCount();

    ~ThreadOrphanage() override;

    JUCE_DECLARE_SINGLETON(ThreadOrphanage, false)

private:
    ThreadOrphanage() = default;
    void timerCallback() override;

    std::vector<std::unique_ptr<juce::Thread>> threads;
};
} // namespace update_check
