#include "estimation/ParallelFor.h"
#include "estimation/ExecutionSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace estimation;

TEST(ParallelFor, EveryIndexRunsExactlyOnceWhateverTheThreadCount)
{
    const ExecutionSettings saved = getExecutionSettings();
    for (int threads : {1, 2, 3, 8})
    {
        setExecutionSettings({threads, true});
        for (int count : {0, 1, 2, 5, 4096})
        {
            std::vector<std::atomic<int>> hits(static_cast<size_t>(count));
            parallelFor(count,
                        [&](int begin, int end)
                        {
                            for (int i = begin; i < end; ++i)
                                ++hits[static_cast<size_t>(i)];
                        });
            for (int i = 0; i < count; ++i)
                ASSERT_EQ(hits[static_cast<size_t>(i)].load(), 1) << threads << " " << count << " " << i;
        }
    }
    setExecutionSettings(saved);
}

TEST(ParallelFor, ThreadSettingIsResolvedToAtLeastOne)
{
    const ExecutionSettings saved = getExecutionSettings();
    setExecutionSettings({0, true});
    EXPECT_GE(effectiveThreadCount(), 1);
    setExecutionSettings({1, true});
    EXPECT_EQ(effectiveThreadCount(), 1);
    setExecutionSettings({3, false});
    EXPECT_EQ(effectiveThreadCount(), 3);
    EXPECT_FALSE(useAvx2Path());
    setExecutionSettings(saved);
}

// Threaded; also runs under ThreadSanitizer.
TEST(ParallelForConcurrency, StagesInsideAScopeShareHelperThreadsStartedOnce)
{
    const ExecutionSettings saved = getExecutionSettings();
    setExecutionSettings({0, true});
    std::atomic<int> threadsSeen{0};
    {
        const ParallelScope scope;
        EXPECT_EQ(scope.getHelperCount(), 0); // nothing starts before the first parallel stage

        // As many stages as an ODR fit runs; a thread counts once, the first time it runs a chunk.
        for (int stage = 0; stage < 17; ++stage)
            parallelFor(64,
                        [&](int, int)
                        {
                            thread_local bool counted = false;
                            if (!counted)
                            {
                                counted = true;
                                ++threadsSeen;
                            }
                        });

        const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
        EXPECT_EQ(scope.getHelperCount(), std::min(cores, effectiveThreadCount()) - 1);
        EXPECT_LE(threadsSeen.load(), 1 + scope.getHelperCount());
    }
    setExecutionSettings(saved);
}

TEST(ParallelForConcurrency, ExceptionOfOneChunkReachesTheCallerAfterEveryChunkHasRun)
{
    const ExecutionSettings saved = getExecutionSettings();
    setExecutionSettings({4, true});
    std::atomic<int> chunksRun{0};
    const ParallelScope scope;
    EXPECT_THROW(parallelFor(4,
                             [&](int begin, int)
                             {
                                 ++chunksRun;
                                 if (begin == 1)
                                     throw std::runtime_error("chunk failed");
                             }),
                 std::runtime_error);
    EXPECT_EQ(chunksRun.load(), 4);
    setExecutionSettings(saved);
}
