#include "classlib/gui/ProgressBar.h"
#include "classlib/gui/TypInfo.h"
#include <algorithm>
#include <commctrl.h>

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TProgressBar>({
    Published("Min", &TProgressBar::Min, &TProgressBar::SetMin),
    Published("Max", &TProgressBar::Max, &TProgressBar::SetMax),
    Published("Position", &TProgressBar::Position, &TProgressBar::SetPosition),
    Published("Step", &TProgressBar::Step, &TProgressBar::SetStep),
});

} // namespace

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    FWidth = 150;
    FHeight = 16;
}

void TProgressBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = PROGRESS_CLASSA;
}

void TProgressBar::InitializeWnd() {
    ApplyRange();
}

void TProgressBar::ApplyRange() {
    if (!HandleAllocated()) return;
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(FMin), static_cast<LPARAM>(FMax));
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetMin(int value) {
    FMin = value;
    FMax = std::max(FMax, FMin);
    FPosition = std::clamp(FPosition, FMin, FMax);
    ApplyRange();
}

void TProgressBar::SetMax(int value) {
    FMax = value;
    FMin = std::min(FMin, FMax);
    FPosition = std::clamp(FPosition, FMin, FMax);
    ApplyRange();
}

void TProgressBar::SetPosition(int value) {
    FPosition = std::clamp(value, FMin, FMax);
    if (HandleAllocated()) SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::StepBy(int delta) {
    int64_t target = int64_t(FPosition) + delta; // no overflow near the 32-bit ends
    SetPosition(static_cast<int>(std::clamp<int64_t>(target, FMin, FMax)));
}
