#include "classlib/base/OrderedJobs.h"
#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <stdexcept>

TEST(OrderedJobs, ResultsComeInPushOrderWhicheverJobEndsFirst) {
    TWorkQueue queue(2);
    TOrderedJobs<int> jobs(queue);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> laterDone{0};
    jobs.Push([released] {
        released.wait(); // held until every later job is done
        return 0;
    });
    for (int i = 1; i < 20; ++i)
        jobs.Push([i, &laterDone] {
            ++laterDone;
            return i;
        });
    jobs.Push([]() -> int { throw std::runtime_error("job failed"); });
    while (laterDone < 19)
        std::this_thread::yield();
    EXPECT_FALSE(jobs.OldestFinished());
    release.set_value();
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(jobs.TakeOldest(), i);
    EXPECT_THROW(jobs.TakeOldest(), std::runtime_error);
    EXPECT_EQ(jobs.Pending(), 0u);
}

TEST(OrderedJobs, DroppedJobsNeverRunAndStartedOnesAreWaitedFor) {
    TWorkQueue queue(1);
    std::atomic<int> ran{0};
    std::promise<void> started, release;
    std::shared_future<void> released = release.get_future().share();
    {
        TOrderedJobs<int> jobs(queue);
        jobs.Push([&, released] {
            started.set_value();
            released.wait();
            return ++ran;
        });
        for (int i = 0; i < 5; ++i)
            jobs.Push([&] { return ++ran; });
        started.get_future().wait(); // the first runs, the rest are queued behind it
        jobs.Drop();
        release.set_value();
        EXPECT_EQ(jobs.TakeOldest(), 1);
        for (int i = 0; i < 5; ++i)
            EXPECT_FALSE(jobs.TakeOldest().has_value());
    }
    {
        std::promise<void> started2;
        std::atomic<bool> finished{false};
        {
            TOrderedJobs<int> jobs(queue);
            jobs.Push([&] {
                started2.set_value();
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                finished = true;
                return 0;
            });
            jobs.Push([&] { return ++ran; });
            started2.get_future().wait();
        } // the destructor drops the second and waits for the first
        EXPECT_TRUE(finished);
    }
    queue.Stop();
    EXPECT_EQ(ran, 1);
}
