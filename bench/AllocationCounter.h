#pragma once

#include <cstddef>

namespace estimation_bench
{

// Heap bytes in use and the peak since the last reset, counted by this executable's global operator
// new/delete.
class AllocationCounter
{
public:
    static void resetPeak();
    static std::size_t currentBytes();
    static std::size_t peakBytes();
};

} // namespace estimation_bench
