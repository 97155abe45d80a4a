#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

// Ring of the newest (X, Y) sample pairs. The audio thread is the only writer and never waits; the
// message thread reads under a sequence counter and, when it cannot get a consistent copy, falls
// back to the last consistent copy it made.
//
// The ring samples are atomics rather than plain doubles: the reader copies while the writer may be
// writing, and only the sequence check makes the copy trustworthy. With plain doubles that overlap
// would be a data race in the language's memory model. The writer stores each sample with release
// ordering and the reader loads it with acquire ordering, so a reader that sees a sample of a write
// in progress also sees that write's odd sequence value and discards its copy. On x86-64 both are
// ordinary moves, so the cost is nil.
class CaptureBuffer
{
public:
    static constexpr int defaultCapacity = 0x20000; // 131072 pairs

    CaptureBuffer();

    // Writer side (audio thread or the host's set-up thread): no allocation, no lock.
    void push(const double* x, const double* y, int n) noexcept;
    void clear() noexcept;

    // Reader side (one reader thread). Copies the newest n pairs, oldest first. Returns false, and
    // writes nothing, when n lies outside 1..capacity.
    bool read(double* xOut, double* yOut, int n);

    std::int64_t getTotalWritten() const noexcept { return totalWritten.load(std::memory_order_acquire); }
    // Changes with every push and clear, so a reader can tell that nothing new arrived since its last
    // look (the total alone repeats after a clear).
    std::uint64_t getChangeCount() const noexcept { return sequence.load(std::memory_order_acquire); }
    int getCapacity() const noexcept { return capacity; }

private:
    friend class CaptureBufferTestAccess; // lets tests hold the sequence odd, as a stalled writer would

    static constexpr int maximumReadAttempts = 3;

    void copyRingTo(double* xOut, double* yOut, int n) const noexcept;

    std::vector<std::atomic<double>> xRing;
    std::vector<std::atomic<double>> yRing;
    std::atomic<std::uint64_t> sequence{0};
    std::atomic<std::int32_t> writeIndex{0};
    std::atomic<std::int64_t> totalWritten{0};
    const std::int32_t capacity = defaultCapacity;

    // The reader's own last consistent copy.
    std::vector<double> lastGoodX;
    std::vector<double> lastGoodY;
    std::int32_t lastGoodCount = 0;
    std::atomic<bool> lastGoodDiscarded{false};
};
