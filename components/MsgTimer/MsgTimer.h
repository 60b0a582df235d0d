#pragma once
// A light timer that fires OnTimer through WM_TIMER of one hidden window shared by
// all timers. Main thread only: created, started, stopped and fired there.
#include "classlib/gui/Classes.h"
#include <windows.h>

class TMsgTimer : public TObject {
public:
    TMsgTimer() : TMsgTimer(1000, nullptr) {}
    TMsgTimer(UINT interval, TNotifyEvent onTimer); // Sender: the timer
    ~TMsgTimer() override;

    // False without doing anything when Interval is 0; restarts a running timer.
    bool Start();
    // Removes the Windows timer; clears Enabled only when asked. True when one was removed.
    bool Stop(bool clearEnabled = true);

    [[nodiscard]] bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    [[nodiscard]] UINT Interval() const { return FInterval; }
    // Restarts a running timer; 0 removes the Windows timer but keeps Enabled, so that
    // a later non-zero interval starts it again.
    void SetInterval(UINT interval);
    [[nodiscard]] const TNotifyEvent& OnTimer() const { return FOnTimer; }
    // Clearing it removes the Windows timer (Enabled stays); setting it again restarts.
    void SetOnTimer(TNotifyEvent onTimer);

    // When set, the timer stops itself before it fires: it fires once per Start.
    bool OneShot = false;

    // The Windows timer id; unique for the life of the program.
    [[nodiscard]] UINT_PTR Id() const { return FId; }
    // The shared window, present while any timer exists.
    [[nodiscard]] static HWND HandlerWindow();
    // How many timers have a Windows timer set now.
    [[nodiscard]] static int RunningCount();

private:
    friend struct TMsgTimerHandler;
    UINT_PTR FId;
    bool FEnabled = false;
    UINT FInterval;
    TNotifyEvent FOnTimer;
};
