#include "components/MsgTimer/MsgTimer.h"
#include <map>
#include <memory>

// The hidden window shared by all timers: made with the first timer, destroyed with
// the last. Timers are found by id, so a WM_TIMER that arrives after its timer was
// freed finds nothing and is ignored.
struct TMsgTimerHandler {
    HWND Window = nullptr;
    std::map<UINT_PTR, TMsgTimer*> Timers;

    TMsgTimerHandler() {
        WNDCLASSA cls{};
        cls.lpfnWndProc = WndProc;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.lpszClassName = "TMsgTimerWindow";
        RegisterClassA(&cls);
        Window = CreateWindowExA(0, cls.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 cls.hInstance, nullptr);
    }
    ~TMsgTimerHandler() { DestroyWindow(Window); }

    static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

namespace {
std::unique_ptr<TMsgTimerHandler> GHandler;
UINT_PTR GNextId = 0;

void FireTimer(UINT_PTR id) {
    if (!GHandler) return;
    const auto found = GHandler->Timers.find(id);
    if (found == GHandler->Timers.end()) return;
    TMsgTimer* timer = found->second;
    const TMsgTimer::TTimerEvent event = timer->OnTimer();  // the handler may free the timer
    if (event) event(timer);
}
} // namespace

LRESULT CALLBACK TMsgTimerHandler::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_TIMER) return DefWindowProcA(wnd, msg, wParam, lParam);
    try {
        FireTimer(wParam);
    } catch (...) {
        // A handler's exception must not cross the window procedure.
    }
    return 0;
}

HWND TMsgTimer::HandlerWindow() { return GHandler ? GHandler->Window : nullptr; }

TMsgTimer::TMsgTimer(UINT interval, TTimerEvent onTimer)
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
    if (!SetTimer(GHandler->Window, FId, FInterval, nullptr)) return false;
    FEnabled = true;
    return true;
}

bool TMsgTimer::Stop(bool clearEnabled) {
    if (clearEnabled) FEnabled = false;
    return KillTimer(GHandler->Window, FId) != FALSE;
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

void TMsgTimer::SetOnTimer(TTimerEvent onTimer) {
    FOnTimer = std::move(onTimer);
    if (!FEnabled) return;
    if (FOnTimer)
        Start();
    else
        Stop(false);
}
