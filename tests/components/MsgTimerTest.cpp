#include "components/MsgTimer/MsgTimer.h"
#include "support/PumpMessages.h"
#include <gtest/gtest.h>
#include <memory>

TEST(MsgTimer, FiresUntilStoppedAndNeedsAnInterval) {
    int ticks = 0;
    TMsgTimer timer(0, [&](TObject* t) {
        if (++ticks == 3) static_cast<TMsgTimer*>(t)->SetEnabled(false);
    });
    EXPECT_FALSE(timer.Start());
    EXPECT_FALSE(timer.Enabled());
    timer.SetInterval(10);
    EXPECT_TRUE(timer.Start());
    ASSERT_TRUE(PumpUntil([&] { return !timer.Enabled(); }));
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer.Stop()); // no Windows timer left
}

TEST(MsgTimer, IntervalZeroPausesARunningTimer) {
    int ticks = 0;
    TMsgTimer timer(500, [&](TObject*) { ++ticks; });
    timer.SetEnabled(true);
    timer.SetInterval(0);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Stop(false)); // already removed
    timer.SetInterval(10);
    EXPECT_TRUE(PumpUntil([&] { return ticks > 0; }));
    timer.SetOnTimer(nullptr);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Stop(false));
}

TEST(MsgTimer, SharedWindowLivesWithTheTimers) {
    EXPECT_EQ(TMsgTimer::HandlerWindow(), nullptr);
    {
        TMsgTimer a, b;
        HWND window = TMsgTimer::HandlerWindow();
        ASSERT_NE(window, nullptr);
        {
            TMsgTimer c;
            EXPECT_EQ(TMsgTimer::HandlerWindow(), window);
        }
        EXPECT_TRUE(IsWindow(window));
    }
    EXPECT_EQ(TMsgTimer::HandlerWindow(), nullptr);
    TMsgTimer again;
    EXPECT_NE(TMsgTimer::HandlerWindow(), nullptr);
}

// A WM_TIMER already queued for a timer that is then freed is ignored.
TEST(MsgTimer, TimerMessageAfterFreeIsIgnored) {
    TMsgTimer keeper; // keeps the shared window alive
    int fired = 0;
    auto timer = std::make_unique<TMsgTimer>(10, [&](TObject*) { ++fired; });
    PostMessageA(TMsgTimer::HandlerWindow(), WM_TIMER, timer->Id(), 0);
    timer.reset();
    auto other = std::make_unique<TMsgTimer>(10, [&](TObject*) { fired += 100; });
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(fired, 0);
}

TEST(MsgTimer, AHandlerMayFreeItsTimer) {
    TMsgTimer keeper;
    auto timer = std::make_unique<TMsgTimer>();
    bool fired = false;
    timer->SetInterval(10);
    timer->SetOnTimer([&, text = std::string(100, 'x')](TObject*) {
        timer.reset();
        fired = !text.empty();
    });
    timer->Start();
    EXPECT_TRUE(PumpUntil([&] { return fired; }));
}

// The shared handler counts the timers that run; a one-shot timer has stopped, and
// left the count, before its handler sees it.
TEST(MsgTimer, RunningCountAndOneShot) {
    TMsgTimer a(10, nullptr), b(10, nullptr);
    EXPECT_EQ(TMsgTimer::RunningCount(), 0);
    a.Start();
    a.Start(); // a restart counts once
    b.Start();
    EXPECT_EQ(TMsgTimer::RunningCount(), 2);
    b.SetInterval(0); // no Windows timer, though still enabled
    EXPECT_EQ(TMsgTimer::RunningCount(), 1);
    b.Stop();
    EXPECT_EQ(TMsgTimer::RunningCount(), 1);

    int fired = 0, runningWhenFired = -1;
    TMsgTimer once(10, [&](TObject*) {
        ++fired;
        runningWhenFired = TMsgTimer::RunningCount();
    });
    once.OneShot = true;
    once.Start();
    EXPECT_EQ(TMsgTimer::RunningCount(), 2);
    ASSERT_TRUE(PumpUntil([&] { return fired > 0; }));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(runningWhenFired, 1);
    EXPECT_FALSE(once.Enabled());
    EXPECT_TRUE(once.Start()); // fires once again after another Start
    ASSERT_TRUE(PumpUntil([&] { return fired == 2; }));
    a.Stop();
    EXPECT_EQ(TMsgTimer::RunningCount(), 0);
}
