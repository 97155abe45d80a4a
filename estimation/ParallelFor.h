#pragma once

#include <functional>
#include <memory>

namespace estimation
{

class ThreadPool;

// Splits [0, count) into contiguous chunks, one per thread of the execution settings, and runs
// body(begin, end) on each; the calling thread takes chunks too. Callers write disjoint outputs per
// index, so the result never depends on how the range was split or which thread ran a chunk.
// Inside a ParallelScope on the calling thread the chunks share that scope's helper threads;
// otherwise helpers are started for this call alone.
void parallelFor(int count, const std::function<void(int begin, int end)>& body);

// Lends one set of helper threads to every parallelFor on the thread that creates it, for as long
// as it exists: an estimate opens one, so its many parallel stages share threads started once.
// The helpers start at the first parallelFor that can use them and are joined when the scope ends,
// so none outlives the estimate. They run at the default priority, below a host's audio threads,
// and touch only the estimate's own data. A scope opened inside another one defers to the outer.
class ParallelScope
{
public:
    ParallelScope();
    ~ParallelScope();

    ParallelScope(const ParallelScope&) = delete;
    ParallelScope& operator=(const ParallelScope&) = delete;

    // The helpers this scope started so far (0 before the first parallel stage).
    int getHelperCount() const noexcept;

private:
    friend void parallelFor(int, const std::function<void(int, int)>&);

    static ParallelScope* activeOnThisThread() noexcept;
    ThreadPool& pool();

    std::unique_ptr<ThreadPool> threads;
    ParallelScope* outer;
};

// Helper threads for work split into the given number of chunks: one fewer than the threads that
// may run it at once, never more than the machine's cores (and the thread cap) allow.
int helperThreadsFor(int chunks);

} // namespace estimation
