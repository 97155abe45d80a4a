#pragma once

#include <cstddef>

// Counts heap allocations made by the calling thread while a scope is active. The test binary
// replaces the global operator new to feed it.
class ScopedAllocationCounter
{
public:
    ScopedAllocationCounter();
    ~ScopedAllocationCounter();

    std::size_t getCount() const;
};
