#include "classlib/gui/Timer.h"
#include "classlib/gui/TypInfo.h"

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TTimer>({
    Published("Enabled", &TTimer::Enabled, &TTimer::SetEnabled),
    Published("Interval", &TTimer::Interval, &TTimer::SetInterval),
});

} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
    if (FWindow) KillTimer(FWindow->Handle(), 1);
}

void TTimer::SetEnabled(bool value) {
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
    FInterval = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    FOnTimer = std::move(handler);
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (FWindow) KillTimer(FWindow->Handle(), 1);
    if (!FEnabled || FInterval == 0 || !FOnTimer) return;
    if (!FWindow)
        FWindow = std::make_unique<TUtilWindow>([this](TMessage& m) { return HandleMessage(m); });
    SetTimer(FWindow->Handle(), 1, FInterval, nullptr);
}

bool TTimer::HandleMessage(TMessage& message) {
    if (message.Msg != WM_TIMER) return false;
    if (FEnabled && FOnTimer) FOnTimer(this);
    return true;
}
