#include "classlib/gui/TrackBar.h"
#include "classlib/gui/TypInfo.h"
#include <algorithm>
#include <commctrl.h>

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TTrackBar>({
    Published("Min", &TTrackBar::Min, &TTrackBar::SetMin),
    Published("Max", &TTrackBar::Max, &TTrackBar::SetMax),
    Published("Position", &TTrackBar::Position, &TTrackBar::SetPosition),
});

} // namespace

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    FWidth = 150;
    FHeight = 45;
    SetTabStop(true);
}

void TTrackBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = TRACKBAR_CLASSA;
    params.Style |= TBS_HORZ | TBS_AUTOTICKS;
}

void TTrackBar::InitializeWnd() {
    ApplyRange();
}

void TTrackBar::ApplyRange() {
    if (!HandleAllocated()) return;
    SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, FMin);
    SendMessageW(Handle(), TBM_SETRANGEMAX, FALSE, FMax);
    SendMessageW(Handle(), TBM_SETTICFREQ, std::max(1, (FMax - FMin) / 10), 0);
    SendMessageW(Handle(), TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::SetMin(int value) {
    FMin = value;
    FMax = std::max(FMax, FMin);
    ApplyRange();
    MoveTo(FPosition);
}

void TTrackBar::SetMax(int value) {
    FMax = value;
    FMin = std::min(FMin, FMax);
    ApplyRange();
    MoveTo(FPosition);
}

void TTrackBar::SetPosition(int value) {
    MoveTo(value);
}

void TTrackBar::MoveTo(int value) {
    value = std::clamp(value, FMin, FMax);
    if (HandleAllocated()) SendMessageW(Handle(), TBM_SETPOS, TRUE, value);
    if (value == FPosition) return;
    FPosition = value;
    if (OnChange) OnChange(this);
}

// The user's moves arrive as scroll messages reflected by the parent.
void TTrackBar::WndProc(TMessage& message) {
    if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL)
        return MoveTo(static_cast<int>(SendMessageW(Handle(), TBM_GETPOS, 0, 0)));
    TWinControl::WndProc(message);
}
