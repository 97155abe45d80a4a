#include "core/CaptureBuffer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <signal.h>
#include <stdexcept>
#include <sys/mman.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

// Holds the sequence odd, as a writer stalled in the middle of a push would.
class CaptureBufferTestAccess
{
public:
    static void beginStalledWrite(CaptureBuffer& buffer) { buffer.sequence.fetch_add(1); }
    static void endStalledWrite(CaptureBuffer& buffer) { buffer.sequence.fetch_add(1); }
};

namespace
{
constexpr int capacity = CaptureBuffer::defaultCapacity;

struct Pairs
{
    std::vector<double> x, y;
};

// Pair i carries x = i + 1 and y = -(i + 1) / 2, so every pair is checkable on its own.
Pairs makeNumberedPairs(int first, int count)
{
    Pairs p;
    for (int i = first; i < first + count; ++i)
    {
        p.x.push_back(i + 1.0);
        p.y.push_back(-(i + 1.0) * 0.5);
    }
    return p;
}

Pairs readAll(CaptureBuffer& buffer, int n = capacity)
{
    Pairs p{std::vector<double>((size_t) n, -7.0), std::vector<double>((size_t) n, -7.0)};
    EXPECT_TRUE(buffer.read(p.x.data(), p.y.data(), n));
    return p;
}

std::unique_ptr<CaptureBuffer> makeBuffer()
{
    return std::make_unique<CaptureBuffer>();
}
} // namespace

TEST(CaptureBuffer, FullReadOfPartlyFilledBufferIsZerosThenPairsOldestFirst)
{
    auto buffer = makeBuffer();
    const auto pairs = makeNumberedPairs(0, 10);
    buffer->push(pairs.x.data(), pairs.y.data(), 10);

    const auto out = readAll(*buffer);
    for (int i = 0; i < capacity - 10; ++i)
        ASSERT_EQ(out.x[(size_t) i], 0.0) << i;
    for (int i = 0; i < 10; ++i)
    {
        EXPECT_EQ(out.x[(size_t) (capacity - 10 + i)], pairs.x[(size_t) i]);
        EXPECT_EQ(out.y[(size_t) (capacity - 10 + i)], pairs.y[(size_t) i]);
    }
    EXPECT_EQ(buffer->getTotalWritten(), 10);
}

TEST(CaptureBuffer, ReadAfterWrapReturnsNewestPairsOldestFirst)
{
    auto buffer = makeBuffer();
    // Uneven block sizes so that blocks straddle the wrap point.
    int written = 0;
    for (const int block : {1000, 77777, 52295, 5})
    {
        const auto pairs = makeNumberedPairs(written, block);
        buffer->push(pairs.x.data(), pairs.y.data(), block);
        written += block;
    }
    ASSERT_EQ(written, capacity + 5);
    EXPECT_EQ(buffer->getTotalWritten(), capacity + 5);

    const auto out = readAll(*buffer);
    for (int i = 0; i < capacity; ++i)
    {
        ASSERT_EQ(out.x[(size_t) i], 5.0 + i + 1.0) << i; // pairs numbered 5 .. 131076
        ASSERT_EQ(out.y[(size_t) i], -(5.0 + i + 1.0) * 0.5) << i;
    }

    const auto newest = readAll(*buffer, 3);
    EXPECT_EQ(newest.x, (std::vector<double>{capacity + 3.0, capacity + 4.0, capacity + 5.0}));
}

TEST(CaptureBuffer, ClearEmptiesTheRingAndResetsTheCount)
{
    auto buffer = makeBuffer();
    const auto pairs = makeNumberedPairs(0, 5000);
    buffer->push(pairs.x.data(), pairs.y.data(), 5000);
    readAll(*buffer);

    buffer->clear();
    EXPECT_EQ(buffer->getTotalWritten(), 0);
    const auto out = readAll(*buffer);
    for (int i = 0; i < capacity; ++i)
        ASSERT_TRUE(out.x[(size_t) i] == 0.0 && out.y[(size_t) i] == 0.0) << i;

    // The write position starts again at the ring's beginning.
    buffer->push(pairs.x.data(), pairs.y.data(), 1);
    EXPECT_EQ(readAll(*buffer, 1).x[0], 1.0);
}

TEST(CaptureBuffer, ReadOutsideOneToCapacityIsRefusedAndWritesNothing)
{
    auto buffer = makeBuffer();
    const auto pairs = makeNumberedPairs(0, 10);
    buffer->push(pairs.x.data(), pairs.y.data(), 10);

    std::vector<double> x((size_t) capacity + 1, -7.0), y((size_t) capacity + 1, -7.0);
    for (const int n : {0, -1, -capacity, capacity + 1})
    {
        EXPECT_FALSE(buffer->read(x.data(), y.data(), n)) << n;
        for (size_t i = 0; i < x.size(); ++i)
            ASSERT_TRUE(x[i] == -7.0 && y[i] == -7.0) << n;
    }
    EXPECT_FALSE(buffer->read(nullptr, y.data(), 5));
}

TEST(CaptureBuffer, StalledWriterWithoutGoodCopyGivesZeros)
{
    auto buffer = makeBuffer();
    const auto pairs = makeNumberedPairs(0, 100);
    buffer->push(pairs.x.data(), pairs.y.data(), 100);

    CaptureBufferTestAccess::beginStalledWrite(*buffer);
    const auto out = readAll(*buffer, 50);
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(out.x[(size_t) i] == 0.0 && out.y[(size_t) i] == 0.0) << i;
    CaptureBufferTestAccess::endStalledWrite(*buffer);
}

TEST(CaptureBuffer, StalledWriterFallsBackToLastConsistentCopy)
{
    auto buffer = makeBuffer();
    const auto first = makeNumberedPairs(0, 100);
    buffer->push(first.x.data(), first.y.data(), 100);
    const auto good = readAll(*buffer, 20); // pairs 81..100

    const auto later = makeNumberedPairs(100, 100);
    buffer->push(later.x.data(), later.y.data(), 100);
    CaptureBufferTestAccess::beginStalledWrite(*buffer);

    // A copy of the same length: the last good copy, whole.
    const auto same = readAll(*buffer, 20);
    EXPECT_EQ(same.x, good.x);
    EXPECT_EQ(same.y, good.y);

    // Shorter: its first values.
    const auto shorter = readAll(*buffer, 5);
    EXPECT_EQ(shorter.x, std::vector<double>(good.x.begin(), good.x.begin() + 5));

    // Longer than any good copy: the good copy, then zeros.
    const auto longer = readAll(*buffer, 30);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(longer.x[(size_t) i], good.x[(size_t) i]);
    for (int i = 20; i < 30; ++i)
        EXPECT_TRUE(longer.x[(size_t) i] == 0.0 && longer.y[(size_t) i] == 0.0);

    CaptureBufferTestAccess::endStalledWrite(*buffer);
    EXPECT_EQ(readAll(*buffer, 1).x[0], 200.0);
}

TEST(CaptureBuffer, ClearDiscardsTheReadersLastGoodCopy)
{
    auto buffer = makeBuffer();
    const auto pairs = makeNumberedPairs(0, 100);
    buffer->push(pairs.x.data(), pairs.y.data(), 100);
    readAll(*buffer, 100);

    buffer->clear();
    CaptureBufferTestAccess::beginStalledWrite(*buffer);
    const auto out = readAll(*buffer, 100);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(out.x[(size_t) i], 0.0);
    CaptureBufferTestAccess::endStalledWrite(*buffer);
}

namespace
{
// X samples for a push that stops in the middle, with no change to the push itself: the page that
// holds pair holdAt onward is unreadable, so the writer faults on it and the fault handler keeps it
// there until release(); it then makes the page readable and the load is retried.
class HeldOpenSamples
{
public:
    HeldOpenSamples(const std::vector<double>& values, int holdAt)
        : page((size_t) sysconf(_SC_PAGESIZE))
    {
        const auto lead = (page - ((size_t) holdAt * sizeof(double)) % page) % page;
        length = lead + (values.size() * sizeof(double) + page - 1) / page * page + page;
        base = (char*) mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (base == MAP_FAILED)
            throw std::runtime_error("no memory for the held-open samples");
        samples = (double*) (base + lead);
        std::copy(values.begin(), values.end(), samples);
        guarded = (char*) (samples + holdAt);

        current = this;
        struct sigaction action = {};
        action.sa_sigaction = onFault;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        sigaction(SIGSEGV, &action, &previous);
        mprotect(guarded, page, PROT_NONE);
    }

    ~HeldOpenSamples()
    {
        release();
        sigaction(SIGSEGV, &previous, nullptr);
        current = nullptr;
        munmap(base, length);
    }

    const double* data() const { return samples; }

    // Whether the writer reached the unreadable page within the time given.
    bool waitUntilHeld() const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!held.load() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        return held.load();
    }

    void release() { released.store(true); }

private:
    static void onFault(int, siginfo_t* info, void*)
    {
        auto* self = current.load();
        const auto* address = (const char*) info->si_addr;
        if (self == nullptr || address < self->guarded || address >= self->guarded + self->page)
        {
            // Not ours: the previous handling, on the retried access.
            sigaction(SIGSEGV, &previous, nullptr);
            return;
        }
        self->held.store(true);
        const timespec pause{0, 100000};
        while (!self->released.load())
            nanosleep(&pause, nullptr);
        mprotect(self->guarded, self->page, PROT_READ | PROT_WRITE);
    }

    static inline std::atomic<HeldOpenSamples*> current{nullptr};
    static inline struct sigaction previous = {};

    const size_t page;
    size_t length = 0;
    char* base = nullptr;
    double* samples = nullptr;
    char* guarded = nullptr;
    std::atomic<bool> held{false}, released{false};
};
} // namespace

// The reader asks for fewer pairs than the ring holds while a push that overwrites them is stopped
// half-way: the copy must not be the mix of old and new pairs that the ring holds at that moment.
TEST(CaptureBuffer, ShortReadDuringAPushHeldOpenGivesTheLastConsistentCopy)
{
    auto buffer = makeBuffer();
    const auto first = makeNumberedPairs(0, 100);
    buffer->push(first.x.data(), first.y.data(), 100);
    const auto good = readAll(*buffer, 20); // pairs 81..100, at ring positions 80..99

    // A whole ring of new pairs, from position 100 round to 99; held at position 90, so that the 20
    // newest positions hold ten new pairs and ten old ones.
    const auto next = makeNumberedPairs(100, capacity);
    HeldOpenSamples x(next.x, capacity - 10);
    std::thread writer([&] { buffer->push(x.data(), next.y.data(), capacity); });
    const auto wasHeld = x.waitUntilHeld();
    const auto during = wasHeld ? readAll(*buffer, 20) : Pairs{};
    x.release();
    writer.join();

    ASSERT_TRUE(wasHeld) << "the push never reached the unreadable page";
    EXPECT_EQ(during.x, good.x);
    EXPECT_EQ(during.y, good.y);
    EXPECT_EQ(readAll(*buffer, 1).x[0], 100.0 + capacity) << "the push completed";
}

// A writer thread pushes numbered pairs in blocks of varying size while a reader copies the whole
// ring continuously. Every copy must be one consistent state of the ring: zeros for the part never
// written, then consecutive pair numbers, each pair intact. A torn copy would show a jump in the
// numbering or a pair whose y does not belong to its x.
TEST(CaptureBufferConcurrency, ReaderNeverSeesATornCopy)
{
    auto buffer = makeBuffer();
    std::atomic<bool> stop{false};
    constexpr int totalPairs = 3 * capacity;

    std::thread writer(
        [&]
        {
            std::vector<double> x(4096), y(4096);
            long next = 1;
            int blockSize = 1;
            while (next <= totalPairs)
            {
                const int n = (int) std::min<long>(blockSize, totalPairs - next + 1);
                for (int i = 0; i < n; ++i, ++next)
                {
                    x[(size_t) i] = (double) next;
                    y[(size_t) i] = -0.5 * (double) next;
                }
                buffer->push(x.data(), y.data(), n);
                blockSize = blockSize % 4093 + 17;
            }
            stop = true;
        });

    std::vector<double> x((size_t) capacity), y((size_t) capacity);
    int copies = 0, torn = 0;
    while (!stop.load() || copies < 3)
    {
        ASSERT_TRUE(buffer->read(x.data(), y.data(), capacity));
        ++copies;

        size_t i = 0;
        while (i < x.size() && x[i] == 0.0 && y[i] == 0.0)
            ++i;
        for (size_t k = i; k < x.size(); ++k)
        {
            const bool pairIntact = y[k] == -0.5 * x[k];
            const bool consecutive = k == i || x[k] == x[k - 1] + 1.0;
            if (!pairIntact || !consecutive)
            {
                ++torn;
                break;
            }
        }
    }
    writer.join();

    EXPECT_EQ(torn, 0) << "of " << copies << " copies";
    const auto last = readAll(*buffer);
    EXPECT_EQ(last.x.back(), (double) totalPairs);
    EXPECT_EQ(last.x.front(), (double) (totalPairs - capacity + 1));
}
