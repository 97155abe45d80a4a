#include "estimation/ThreadPool.h"

#include <atomic>
#include <exception>
#include <system_error>

namespace estimation
{

// Shared by the asking thread and the helpers; a helper that wakes late still holds it, finds no
// chunk left and never touches the (by then finished) chunk function.
struct ThreadPool::Job
{
    Job(int count, const std::function<void(int)>& function)
        : chunks(count)
        , unfinished(count)
        , chunk(function)
    {
    }

    const int chunks;
    std::atomic<int> next{0};
    std::atomic<int> unfinished;
    const std::function<void(int)>& chunk;
    std::mutex errorMutex;
    std::exception_ptr error;
};

ThreadPool::ThreadPool(int helperCount)
    : helpersWanted(helperCount)
{
}

void ThreadPool::startHelpers()
{
    helpersStarted = true;
    for (int i = 0; i < helpersWanted; ++i)
    {
        try
        {
            helpers.emplace_back([this] { helperLoop(); });
        }
        catch (const std::system_error&)
        {
            break; // no more threads to be had: the asking thread does the rest
        }
    }
}

ThreadPool::~ThreadPool()
{
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    for (auto& helper : helpers)
        helper.join();
}

void ThreadPool::run(int chunks, const std::function<void(int chunk)>& chunk)
{
    if (chunks <= 0)
        return;

    auto job = std::make_shared<Job>(chunks, chunk);
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (running)
            job = nullptr; // nested in a chunk: all chunks run here
        else
        {
            running = true;
            current = job;
            // The first job starts the helpers, which find it waiting when they get the lock.
            if (!helpersStarted)
                startHelpers();
        }
    }
    if (job == nullptr)
    {
        for (int c = 0; c < chunks; ++c)
            chunk(c);
        return;
    }

    wake.notify_all();
    takeChunks(*job);
    {
        std::unique_lock<std::mutex> lock(mutex);
        finished.wait(lock, [&] { return job->unfinished.load() == 0; });
        current = nullptr;
        running = false;
    }
    if (job->error)
        std::rethrow_exception(job->error);
}

void ThreadPool::helperLoop()
{
    std::shared_ptr<Job> seen;
    for (;;)
    {
        std::shared_ptr<Job> job;
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [&] { return stopping || (current != nullptr && current != seen); });
            if (stopping)
                return;
            job = current;
        }
        seen = job;
        takeChunks(*job);
    }
}

void ThreadPool::takeChunks(Job& job)
{
    for (;;)
    {
        const int c = job.next.fetch_add(1);
        if (c >= job.chunks)
            return;

        try
        {
            job.chunk(c);
        }
        catch (...)
        {
            const std::lock_guard<std::mutex> lock(job.errorMutex);
            if (!job.error)
                job.error = std::current_exception();
        }

        if (job.unfinished.fetch_sub(1) == 1)
        {
            // Under the lock, so that the asking thread cannot miss the wake-up between its check
            // and its wait.
            const std::lock_guard<std::mutex> lock(mutex);
            finished.notify_all();
        }
    }
}

} // namespace estimation
