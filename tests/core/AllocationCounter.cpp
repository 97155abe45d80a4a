#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace
{
thread_local bool counting = false;
thread_local std::size_t allocations = 0;

void* allocate(std::size_t size)
{
    if (counting)
        ++allocations;
    if (auto* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
} // namespace

ScopedAllocationCounter::ScopedAllocationCounter()
{
    allocations = 0;
    counting = true;
}

ScopedAllocationCounter::~ScopedAllocationCounter()
{
    counting = false;
}

std::size_t ScopedAllocationCounter::getCount() const
{
    return allocations;
}

void* operator new(std::size_t size)
{
    return allocate(size);
}

void* operator new[](std::size_t size)
{
    return allocate(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (counting)
        ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    if (counting)
        ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
