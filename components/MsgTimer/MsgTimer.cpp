#include "components/MsgTimer/MsgTimer.h"
#include "classlib/gui/UtilWindow.h"
#include <map>
#include <memory>

// The hidden window shared by all timers: made with the first timer, destroyed with
// the last. Timers are found by id, so a WM_TIMER that arrives after its timer was
// freed finds nothing and is ignored.
struct TMsgTimerHandler {
    std::map<UINT_PTR, TMsgTimer*> Timers;
    int Running = 0;
    TUtilWindow Window{[this](TMessage& m) { return HandleMessage(m); }};

    bool HandleMessage(TMessage& message) {
        if (message.Msg != WM_TIMER) return false;
        const auto found = Timers.find(message.WParam);
        if (found == Timers.end()) return true;
        TMsgTimer* timer = found->second;
        if (timer->OneShot) timer->Stop();
        const TNotifyEvent event = timer->OnTimer(); // the handler may free the timer
        if (event) event(timer);
        return true;
    }
};

namespace {
std::unique_ptr<TMsgTimerHandler> GHandler;
UINT_PTR GNextId = 0;
} // namespace

HWND TMsgTimer::HandlerWindow() {
    return GHandler ? GHandler->Window.Handle() : nullptr;
}

int TMsgTimer::RunningCount() {
    return GHandler ? GHandler->Running : 0;
}

TMsgTimer::TMsgTimer(UINT interval, TNotifyEvent onTimer)
    : FId(++GNextId), FInterval(interval), FOnTimer(std::move(onTimer)) {
    if (!GHandler) GHandler = std::make_unique<TMsgTimerHandler>();
    GHandler->Timers[FId] = this;
}

TMsgTimer::~TMsgTimer() {
    Stop();
    GHandler->Timers.erase(FId);
    if (GHandler->Timers.empty()) GHandler.reset();
}

bool TMsgTimer::Start() {
    if (FInterval == 0) return false;
    if (FEnabled) Stop();
    if (!SetTimer(GHandler->Window.Handle(), FId, FInterval, nullptr)) return false;
    FEnabled = true;
    ++GHandler->Running;
    return true;
}

bool TMsgTimer::Stop(bool clearEnabled) {
    if (clearEnabled) FEnabled = false;
    if (!KillTimer(GHandler->Window.Handle(), FId)) return false;
    if (GHandler->Running > 0) --GHandler->Running;
    return true;
}

void TMsgTimer::SetEnabled(bool enabled) {
    if (enabled)
        Start();
    else
        Stop();
}

void TMsgTimer::SetInterval(UINT interval) {
    if (interval == FInterval) return;
    FInterval = interval;
    if (!FEnabled) return;
    if (interval == 0)
        Stop(false);
    else
        Start();
}

void TMsgTimer::SetOnTimer(TNotifyEvent onTimer) {
    FOnTimer = std::move(onTimer);
    if (!FEnabled) return;
    if (FOnTimer)
        Start();
    else
        Stop(false);
}
