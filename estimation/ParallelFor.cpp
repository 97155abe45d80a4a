#include "estimation/ParallelFor.h"

#include "estimation/ExecutionSettings.h"
#include "estimation/ThreadPool.h"

#include <algorithm>
#include <thread>

namespace estimation
{
namespace
{
thread_local ParallelScope* activeScope = nullptr;
} // namespace

int helperThreadsFor(int chunks)
{
    const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    return std::max(0, std::min({chunks, cores, effectiveThreadCount()}) - 1);
}

ParallelScope::ParallelScope()
    : outer(activeScope)
{
    if (outer == nullptr)
        activeScope = this;
}

ParallelScope::~ParallelScope()
{
    if (outer == nullptr)
        activeScope = nullptr;
}

ParallelScope* ParallelScope::activeOnThisThread() noexcept
{
    return activeScope;
}

int ParallelScope::getHelperCount() const noexcept
{
    return threads != nullptr ? threads->getHelperCount() : 0;
}

ThreadPool& ParallelScope::pool()
{
    // Sized for the widest split the settings allow, so every later stage finds enough helpers.
    if (threads == nullptr)
        threads = std::make_unique<ThreadPool>(helperThreadsFor(effectiveThreadCount()));
    return *threads;
}

void parallelFor(int count, const std::function<void(int begin, int end)>& body)
{
    if (count <= 0)
        return;
    const int chunks = std::min(effectiveThreadCount(), count);
    if (chunks <= 1)
    {
        body(0, count);
        return;
    }

    const auto chunk = [&](int c)
    {
        const auto begin = [&](int t)
        { return static_cast<int>(static_cast<long long>(count) * t / chunks); };
        body(begin(c), begin(c + 1));
    };

    if (auto* scope = ParallelScope::activeOnThisThread())
    {
        scope->pool().run(chunks, chunk);
        return;
    }
    ThreadPool helpers(helperThreadsFor(chunks));
    helpers.run(chunks, chunk);
}

} // namespace estimation
