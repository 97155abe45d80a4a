#include "estimation/ExecutionSettings.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace estimation
{
namespace
{
std::atomic<int> maxThreadsSetting{0};
std::atomic<bool> allowVectorSetting{true};

constexpr int threadCap = 8;

bool cpuHasAvx2()
{
    static const bool has = []
    {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}
} // namespace

void setExecutionSettings(const ExecutionSettings& settings)
{
    maxThreadsSetting.store(settings.maxThreads);
    allowVectorSetting.store(settings.allowVectorPath);
}

ExecutionSettings getExecutionSettings()
{
    ExecutionSettings s;
    s.maxThreads = maxThreadsSetting.load();
    s.allowVectorPath = allowVectorSetting.load();
    return s;
}

int effectiveThreadCount()
{
    const int requested = maxThreadsSetting.load();
    if (requested > 0)
        return std::min(requested, threadCap);
    const int hardware = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(hardware, 1, threadCap);
}

bool useAvx2Path()
{
    return allowVectorSetting.load() && cpuHasAvx2();
}

} // namespace estimation
