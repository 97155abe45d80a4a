#include "core/CaptureBuffer.h"

#include <algorithm>

CaptureBuffer::CaptureBuffer()
    : xRing(static_cast<size_t>(defaultCapacity))
    , yRing(static_cast<size_t>(defaultCapacity))
    , lastGoodX(static_cast<size_t>(defaultCapacity), 0.0)
    , lastGoodY(static_cast<size_t>(defaultCapacity), 0.0)
{
    for (int i = 0; i < capacity; ++i)
    {
        xRing[(size_t) i].store(0.0, std::memory_order_relaxed);
        yRing[(size_t) i].store(0.0, std::memory_order_relaxed);
    }
}

// Release stores of the samples: a reader that sees one of them also sees the odd sequence value
// stored before it, and so rejects its copy. On x86-64 they are plain stores.
void CaptureBuffer::push(const double* x, const double* y, int n) noexcept
{
    const auto s = sequence.load(std::memory_order_relaxed);
    sequence.store(s + 1, std::memory_order_relaxed);

    auto w = writeIndex.load(std::memory_order_relaxed);
    for (int i = 0; i < n; ++i)
    {
        xRing[(size_t) w].store(x[i], std::memory_order_release);
        yRing[(size_t) w].store(y[i], std::memory_order_release);
        w = (w + 1 == capacity) ? 0 : w + 1;
    }
    writeIndex.store(w, std::memory_order_release);

    totalWritten.fetch_add(n, std::memory_order_acq_rel);
    sequence.store(s + 2, std::memory_order_release);
}

void CaptureBuffer::clear() noexcept
{
    const auto s = sequence.load(std::memory_order_relaxed);
    sequence.store(s + 1, std::memory_order_relaxed);

    for (int i = 0; i < capacity; ++i)
    {
        xRing[(size_t) i].store(0.0, std::memory_order_release);
        yRing[(size_t) i].store(0.0, std::memory_order_release);
    }
    writeIndex.store(0, std::memory_order_release);
    totalWritten.store(0, std::memory_order_release);
    // The last good copies belong to the reader, which may be running on another thread: it
    // empties them itself on its next read.
    lastGoodDiscarded.store(true, std::memory_order_release);

    sequence.store(s + 2, std::memory_order_release);
}

// Acquire loads keep the second look at the sequence after every sample load.
void CaptureBuffer::copyRingTo(double* xOut, double* yOut, int n) const noexcept
{
    const auto start = (capacity + writeIndex.load(std::memory_order_acquire) - n) % capacity;
    const auto firstPart = std::min(n, capacity - start);

    for (int i = 0; i < firstPart; ++i)
    {
        xOut[i] = xRing[(size_t) (start + i)].load(std::memory_order_acquire);
        yOut[i] = yRing[(size_t) (start + i)].load(std::memory_order_acquire);
    }
    for (int i = firstPart; i < n; ++i)
    {
        xOut[i] = xRing[(size_t) (i - firstPart)].load(std::memory_order_acquire);
        yOut[i] = yRing[(size_t) (i - firstPart)].load(std::memory_order_acquire);
    }
}

bool CaptureBuffer::read(double* xOut, double* yOut, int n)
{
    if (n < 1 || n > capacity || xOut == nullptr || yOut == nullptr)
        return false;

    if (lastGoodDiscarded.exchange(false, std::memory_order_acquire))
    {
        std::fill(lastGoodX.begin(), lastGoodX.end(), 0.0);
        std::fill(lastGoodY.begin(), lastGoodY.end(), 0.0);
        lastGoodCount = 0;
    }

    for (int attempt = 0; attempt < maximumReadAttempts; ++attempt)
    {
        const auto s1 = sequence.load(std::memory_order_acquire);

        if ((s1 & 1u) != 0)
        {
            if (lastGoodCount >= n)
            {
                std::copy_n(lastGoodX.begin(), n, xOut);
                std::copy_n(lastGoodY.begin(), n, yOut);
                return true;
            }
            continue;
        }

        copyRingTo(xOut, yOut, n);

        if (sequence.load(std::memory_order_acquire) == s1)
        {
            std::copy_n(xOut, n, lastGoodX.begin());
            std::copy_n(yOut, n, lastGoodY.begin());
            lastGoodCount = n;
            return true;
        }
    }

    // No consistent copy in three attempts: the newest consistent copy we have, then silence.
    const auto k = std::min(n, lastGoodCount);
    std::copy_n(lastGoodX.begin(), k, xOut);
    std::copy_n(lastGoodY.begin(), k, yOut);
    std::fill(xOut + k, xOut + n, 0.0);
    std::fill(yOut + k, yOut + n, 0.0);
    return true;
}
