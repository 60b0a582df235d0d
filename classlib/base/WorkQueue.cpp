#include "classlib/base/WorkQueue.h"

TWorkQueue::TWorkQueue(unsigned threads) {
    for (unsigned i = 0; i < threads; ++i)
        FThreads.emplace_back([this] { Work(); });
}

void TWorkQueue::Push(std::function<void()> job) {
    {
        std::lock_guard lock(FLock);
        if (FStopped) return;
        FJobs.push_back(std::move(job));
    }
    FWake.notify_one();
}

void TWorkQueue::Stop() {
    {
        std::lock_guard lock(FLock);
        FStopped = true;
        FJobs.clear();
    }
    FWake.notify_all();
    for (std::thread& thread : FThreads)
        if (thread.joinable()) thread.join();
}

bool TWorkQueue::RunOne() {
    std::function<void()> job;
    {
        std::lock_guard lock(FLock);
        if (FStopped || FJobs.empty()) return false;
        job = Take();
    }
    job();
    return true;
}

std::function<void()> TWorkQueue::Take() {
    std::function<void()> job = std::move(FJobs.front());
    FJobs.pop_front();
    return job;
}

void TWorkQueue::Work() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(FLock);
            FWake.wait(lock, [this] { return FStopped || !FJobs.empty(); });
            if (FStopped) return;
            job = Take();
        }
        job();
    }
}
