#pragma once
// Jobs run on a few threads of their own, oldest first. Stop drops the jobs that have
// not started and waits for the running ones; so does the destructor.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class TWorkQueue {
public:
    explicit TWorkQueue(unsigned threads);
    ~TWorkQueue() { Stop(); }
    TWorkQueue(const TWorkQueue&) = delete;
    TWorkQueue& operator=(const TWorkQueue&) = delete;

    void Push(std::function<void()> job); // dropped once stopped
    // Runs the oldest job on the calling thread; false when there is none.
    bool RunOne();
    void Stop();

private:
    std::function<void()> Take(); // the oldest job, FLock held
    void Work();

    std::mutex FLock;
    std::condition_variable FWake;
    std::deque<std::function<void()>> FJobs;
    bool FStopped = false;
    std::vector<std::thread> FThreads;
};
