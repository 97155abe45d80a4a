#include "estimation/ParallelFor.h"

#include "estimation/ExecutionSettings.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace estimation
{

void parallelFor(int count, const std::function<void(int begin, int end)>& body)
{
    if (count <= 0)
        return;
    const int threads = std::min(effectiveThreadCount(), count);
    if (threads <= 1)
    {
        body(0, count);
        return;
    }

    auto chunkBegin = [count, threads](int t)
    { return static_cast<int>(static_cast<long long>(count) * t / threads); };

    std::vector<std::thread> workers;
    std::vector<int> inlineChunks;
    workers.reserve(static_cast<size_t>(threads - 1));
    for (int t = 1; t < threads; ++t)
    {
        try
        {
            workers.emplace_back(body, chunkBegin(t), chunkBegin(t + 1));
        }
        catch (const std::system_error&)
        {
            // No thread to be had: the chunk runs here instead, with the same result.
            inlineChunks.push_back(t);
        }
    }
    body(chunkBegin(0), chunkBegin(1));
    for (int t : inlineChunks)
        body(chunkBegin(t), chunkBegin(t + 1));
    for (auto& w : workers)
        w.join();
}

} // namespace estimation
