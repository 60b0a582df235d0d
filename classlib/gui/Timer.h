#pragma once
// TTimer: fires OnTimer (on the main thread, from the message loop) every Interval
// milliseconds while Enabled, through WM_TIMER on a hidden window made when the timer
// first runs.
#include "classlib/gui/Classes.h"
#include "classlib/gui/UtilWindow.h"
#include <memory>

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    [[nodiscard]] bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    [[nodiscard]] unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned value);
    [[nodiscard]] TNotifyEvent OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent handler); // the timer runs only with a handler

private:
    void UpdateTimer();
    bool HandleMessage(TMessage& message);

    bool FEnabled = true;
    unsigned FInterval = 1000;
    TNotifyEvent FOnTimer;
    std::unique_ptr<TUtilWindow> FWindow;
};
