#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace estimation
{

// A fixed set of helper threads that run numbered chunks of work beside the thread that asks for
// them. The helpers start with the first job (already in hand, so they need no wake-up for it) and
// then wait for the next. The asking thread always takes chunks itself, so every job finishes even
// when no helper could be started. One job runs at a time; the destructor stops and joins the
// helpers.
class ThreadPool
{
public:
    // Up to helperCount threads, started by the first run; fewer when the system refuses more.
    explicit ThreadPool(int helperCount);
    ~ThreadPool();

    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    // Runs chunk(0) .. chunk(chunks - 1), each exactly once, and returns when all have returned. The
    // first exception a chunk throws is rethrown here once every chunk has ended. A call made from
    // inside a chunk runs its chunks on the calling thread.
    void run(int chunks, const std::function<void(int chunk)>& chunk);

    int getHelperCount() const noexcept { return static_cast<int>(helpers.size()); }

private:
    struct Job;

    void startHelpers();
    void helperLoop();
    void takeChunks(Job& job);

    const int helpersWanted;

    std::mutex mutex;
    std::condition_variable wake;     // a new job, or stopping
    std::condition_variable finished; // the current job's last chunk ended
    std::shared_ptr<Job> current;
    bool running = false;
    bool helpersStarted = false;
    bool stopping = false;
    std::vector<std::thread> helpers;
};

} // namespace estimation
