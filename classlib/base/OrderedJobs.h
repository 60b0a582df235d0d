#pragma once
// Jobs run on a work queue whose results are taken back in the order the jobs were
// pushed. One thread pushes and takes; while it waits for a result it runs queued jobs
// itself. Once Drop is called, no job that has not started runs: its result is empty.
// The destructor drops and waits for the jobs that started.
#include "classlib/base/WorkQueue.h"
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

template <class T> class TOrderedJobs {
public:
    explicit TOrderedJobs(TWorkQueue& queue) : FQueue(queue) {}
    ~TOrderedJobs() {
        Drop();
        while (!FSlots.empty()) {
            WaitForOldest();
            FSlots.pop_front();
        }
    }
    TOrderedJobs(const TOrderedJobs&) = delete;
    TOrderedJobs& operator=(const TOrderedJobs&) = delete;

    void Push(std::function<T()> job) {
        auto slot = std::make_shared<TSlot>();
        FSlots.push_back(slot);
        FQueue.Push([shared = FShared, slot, job = std::move(job)] {
            {
                std::lock_guard lock(shared->Lock);
                if (shared->Dropped) return;
                slot->Started = true;
            }
            std::optional<T> result;
            std::exception_ptr error;
            try {
                result = job();
            } catch (...) {
                error = std::current_exception();
            }
            std::lock_guard lock(shared->Lock);
            slot->Result = std::move(result);
            slot->Error = error;
            slot->Finished = true;
            shared->Done.notify_all();
        });
    }

    [[nodiscard]] size_t Pending() const { return FSlots.size(); }
    [[nodiscard]] bool OldestFinished() const {
        std::lock_guard lock(FShared->Lock);
        return !FSlots.empty() && FSlots.front()->Finished;
    }
    // The oldest job's result, once it is there (rethrowing what the job threw); empty
    // for a dropped job. There must be a job pending.
    std::optional<T> TakeOldest() {
        WaitForOldest();
        const std::shared_ptr<TSlot> slot = std::move(FSlots.front());
        FSlots.pop_front();
        if (slot->Error) std::rethrow_exception(slot->Error);
        return std::move(slot->Result);
    }
    void Drop() {
        std::lock_guard lock(FShared->Lock);
        FShared->Dropped = true;
        for (const std::shared_ptr<TSlot>& slot : FSlots)
            if (!slot->Started) slot->Finished = true;
    }

private:
    struct TSlot {
        bool Started = false;
        bool Finished = false;
        std::optional<T> Result;
        std::exception_ptr Error;
    };
    // What the jobs share with the pusher, kept alive by the jobs still queued.
    struct TShared {
        std::mutex Lock;
        std::condition_variable Done;
        bool Dropped = false;
    };

    void WaitForOldest() {
        while (!OldestFinished())
            if (!FQueue.RunOne()) {
                // Every queued job is taken: the oldest runs on a queue thread.
                std::unique_lock lock(FShared->Lock);
                FShared->Done.wait(lock, [&] { return FSlots.front()->Finished; });
            }
    }

    TWorkQueue& FQueue;
    std::shared_ptr<TShared> FShared = std::make_shared<TShared>();
    std::deque<std::shared_ptr<TSlot>> FSlots; // pushed, not yet taken; the pusher's only
};
