#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace estimation_bench
{
namespace
{
std::atomic<std::size_t> current{0};
std::atomic<std::size_t> peak{0};

// Each block carries its size in a header so that unsized deletes can be counted too.
constexpr std::size_t headerSize = alignof(std::max_align_t);

void* allocate(std::size_t size)
{
    void* block = std::malloc(size + headerSize);
    if (block == nullptr)
        throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    const std::size_t now = current.fetch_add(size) + size;
    std::size_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now))
    {
    }
    return static_cast<char*>(block) + headerSize;
}

void release(void* p)
{
    if (p == nullptr)
        return;
    void* block = static_cast<char*>(p) - headerSize;
    current.fetch_sub(*static_cast<std::size_t*>(block));
    std::free(block);
}
} // namespace

void AllocationCounter::resetPeak()
{
    peak.store(current.load());
}

std::size_t AllocationCounter::currentBytes()
{
    return current.load();
}

std::size_t AllocationCounter::peakBytes()
{
    return peak.load();
}

} // namespace estimation_bench

void* operator new(std::size_t size)
{
    return estimation_bench::allocate(size);
}

void* operator new[](std::size_t size)
{
    return estimation_bench::allocate(size);
}

void operator delete(void* p) noexcept
{
    estimation_bench::release(p);
}

void operator delete[](void* p) noexcept
{
    estimation_bench::release(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    estimation_bench::release(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    estimation_bench::release(p);
}
