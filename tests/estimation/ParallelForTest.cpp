#include "estimation/ParallelFor.h"
#include "estimation/ExecutionSettings.h"

#include <gtest/gtest.h>

#include <atomic>
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
