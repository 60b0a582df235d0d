#include "components/WorkThread/WorkThread.h"
#include "components/WorkThread/WorkThreadGroup.h"
#include "support/PumpMessages.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {
// Records events as "name@thread" with m for the main thread and w for another.
struct TRecorder {
    std::vector<std::string> Events;
    DWORD Main = GetCurrentThreadId();
    std::string Where() const { return GetCurrentThreadId() == Main ? "@m" : "@w"; }
    void Add(const std::string& e) { Events.push_back(e + Where()); }
    [[nodiscard]] bool Has(const std::string& e) const {
        return std::find(Events.begin(), Events.end(), e) != Events.end();
    }
};
} // namespace

TEST(WorkThread, EventsArriveInOrderOnTheirThreads) {
    TRecorder r;
    TWorkThread thread(nullptr);
    thread.SetUpdateEnabled(false);
    int payload = 7;
    void* seenInExecute = nullptr;
    void* seenInTerminate = nullptr;
    thread.OnStart = [&](TObject*, TWorkExecuteThread*, void*& data) {
        r.Add("start");
        data = &payload; // replaced for the rest of the run
    };
    thread.OnExecute = [&](TObject*, TWorkExecuteThread*, void*& data) {
        r.Add("execute");
        seenInExecute = data;
    };
    thread.OnUpdate = [&](TObject*, TWorkExecuteThread*, void*&, int) { r.Add("update"); };
    thread.OnTerminate = [&](TObject*, TWorkExecuteThread*, void*& data) {
        r.Add("terminate");
        seenInTerminate = data;
    };
    thread.Start();
    thread.Start(); // ignored while running
    EXPECT_TRUE(thread.IsRunning());
    ASSERT_TRUE(PumpUntil([&] { return !thread.IsRunning(); }));
    EXPECT_EQ(r.Events, (std::vector<std::string>{"start@m", "execute@w", "terminate@m"}));
    EXPECT_EQ(seenInExecute, &payload);
    EXPECT_EQ(seenInTerminate, &payload);
}

TEST(WorkThread, UpdatesReportPercentWhileRunning) {
    TRecorder r;
    TWorkThread thread(nullptr);
    thread.SetRefreshInterval(10);
    std::vector<int> percents;
    thread.OnExecute = [&](TObject*, TWorkExecuteThread* worker, void*&) {
        worker->Percent = 50;
        while (!worker->Terminated())
            Sleep(1);
    };
    thread.OnUpdate = [&](TObject*, TWorkExecuteThread*, void*&, int percent) {
        r.Add("update");
        percents.push_back(percent);
    };
    thread.Start();
    ASSERT_TRUE(PumpUntil([&] { return !percents.empty() && percents.back() == 50; }));
    thread.Stop();
    ASSERT_TRUE(PumpUntil([&] { return !thread.IsRunning(); }));
    EXPECT_TRUE(r.Has("update@m"));
    EXPECT_FALSE(r.Has("update@w"));
}

TEST(WorkThread, ExceptionInTheWorkStillEndsTheRun) {
    TWorkThread thread(nullptr);
    bool terminated = false;
    thread.OnExecute = [](TObject*, TWorkExecuteThread*, void*&) {
        throw std::runtime_error("work failed");
    };
    thread.OnTerminate = [&](TObject*, TWorkExecuteThread* worker, void*&) {
        terminated = worker->FatalException != nullptr;
    };
    thread.Start();
    EXPECT_TRUE(PumpUntil([&] { return terminated; }));
}

TEST(WorkThread, DestroyingWhileRunningWaitsForTheWork) {
    auto thread = std::make_unique<TWorkThread>(nullptr);
    std::atomic<bool> running{false};
    bool workEnded = false;
    bool terminateFired = false;
    thread->OnExecute = [&](TObject*, TWorkExecuteThread* worker, void*&) {
        running = true;
        while (!worker->Terminated())
            Sleep(1);
        Sleep(50);
        workEnded = true;
    };
    thread->OnTerminate = [&](TObject*, TWorkExecuteThread*, void*&) { terminateFired = true; };
    thread->Start();
    while (!running)
        Sleep(1);
    thread.reset();
    EXPECT_TRUE(workEnded);
    EXPECT_FALSE(terminateFired);
}

// The group reports its start with the first thread and its end with the last.
TEST(WorkThreadGroup, StartsWithTheFirstAndEndsWithTheLastThread) {
    TRecorder r;
    TWorkThreadGroup group(nullptr);
    TWorkThread a(nullptr), b(nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    for (TWorkThread* t : {&a, &b}) {
        t->SetUpdateEnabled(false);
        t->SetThreadGroup(&group);
        t->OnExecute = [release](TObject*, TWorkExecuteThread*, void*&) {
            WaitForSingleObject(release, 10000);
        };
    }
    EXPECT_EQ(a.ThreadGroup(), &group);
    group.OnStart = [&](TObject*, TWorkExecuteThread*, void*&) { r.Add("group start"); };
    group.OnThreadStart = [&](TObject*, TWorkExecuteThread*, void*&) { r.Add("thread start"); };
    group.OnThreadTerminate = [&](TObject*, TWorkExecuteThread*, void*&) { r.Add("thread end"); };
    group.OnTerminate = [&](TObject*, TWorkExecuteThread*, void*&) { r.Add("group end"); };
    group.Start();
    EXPECT_EQ(group.RunningCount(), 2);
    SetEvent(release);
    ASSERT_TRUE(PumpUntil([&] { return r.Has("group end@m"); }));
    EXPECT_EQ(r.Events,
              (std::vector<std::string>{"thread start@m", "group start@m", "thread start@m",
                                        "thread end@m", "thread end@m", "group end@m"}));
    EXPECT_FALSE(group.IsRunning());
    CloseHandle(release);
}

TEST(WorkThreadGroup, RefusesToContainItself) {
    TWorkThreadGroup outer(nullptr), inner(nullptr);
    inner.SetThreadGroup(&outer);
    EXPECT_EQ(inner.ThreadGroup(), &outer);
    outer.SetThreadGroup(&inner);
    EXPECT_EQ(outer.ThreadGroup(), nullptr);
    outer.SetThreadGroup(&outer);
    EXPECT_EQ(outer.ThreadGroup(), nullptr);
}

TEST(WorkThreadGroup, NestedGroupsPassTheStepsUp) {
    TRecorder r;
    TWorkThreadGroup outer(nullptr), inner(nullptr);
    TWorkThread thread(nullptr);
    thread.SetUpdateEnabled(false);
    inner.SetThreadGroup(&outer);
    thread.SetThreadGroup(&inner);
    outer.OnStart = [&](TObject*, TWorkExecuteThread*, void*&) { r.Add("outer start"); };
    outer.OnTerminate = [&](TObject*, TWorkExecuteThread*, void*&) { r.Add("outer end"); };
    outer.Start();
    ASSERT_TRUE(PumpUntil([&] { return r.Has("outer end@m"); }));
    EXPECT_EQ(r.Events, (std::vector<std::string>{"outer start@m", "outer end@m"}));
}

// However a member stops counting as running (its work ends, it leaves the group while
// running, or it is destroyed while running), the group hears of it and ends with it;
// an idle member that leaves ends nothing.
TEST(WorkThreadGroup, EndsWhenItsLastRunningMemberLeavesOrIsDestroyed) {
    TWorkThreadGroup group(nullptr);
    int groupEnds = 0;
    group.OnTerminate = [&](TObject*, TWorkExecuteThread*, void*&) { ++groupEnds; };
    const auto waitForStop = [](TObject*, TWorkExecuteThread* worker, void*&) {
        while (!worker->Terminated())
            Sleep(1);
    };

    TWorkThread idle(nullptr);
    idle.SetThreadGroup(&group);
    idle.SetThreadGroup(nullptr);
    EXPECT_EQ(groupEnds, 0);

    TWorkThread leaving(nullptr);
    leaving.OnExecute = waitForStop;
    leaving.SetThreadGroup(&group);
    leaving.Start();
    EXPECT_TRUE(group.IsRunning());
    leaving.SetThreadGroup(nullptr);
    EXPECT_FALSE(group.IsRunning());
    EXPECT_EQ(groupEnds, 1);
    leaving.Stop();
    ASSERT_TRUE(PumpUntil([&] { return !leaving.IsRunning(); }));
    EXPECT_EQ(groupEnds, 1);

    auto destroyed = std::make_unique<TWorkThread>(nullptr);
    destroyed->OnExecute = waitForStop;
    destroyed->SetThreadGroup(&group);
    destroyed->Start();
    EXPECT_TRUE(group.IsRunning());
    destroyed.reset();
    EXPECT_FALSE(group.IsRunning());
    EXPECT_EQ(groupEnds, 2);
}
