#include "classlib/gui/DateTimePicker.h"
#include "classlib/gui/TypInfo.h"
#include <commctrl.h>

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TDateTimePicker>({
    Published("Kind", &TDateTimePicker::Kind, &TDateTimePicker::SetKind, {"dtkDate", "dtkTime"}),
});

} // namespace

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner), FDateTime(Now()) {
    FWidth = 186;
    FHeight = 21;
    SetTabStop(true);
    SetColor(clWindow);
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = DATETIMEPICK_CLASSA;
    params.Style |= FKind == dtkTime ? DTS_TIMEFORMAT : DTS_SHORTDATEFORMAT;
}

void TDateTimePicker::InitializeWnd() {
    SYSTEMTIME st = DateTimeToSystemTime(FDateTime);
    SendMessageW(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

void TDateTimePicker::DestroyWnd() {
    FDateTime = DateTime();
    TWinControl::DestroyWnd();
}

void TDateTimePicker::SetKind(TDateTimeKind kind) {
    FKind = kind;
    RecreateWnd();
}

TDateTime TDateTimePicker::DateTime() const {
    HWND wnd = HandleIfAllocated();
    SYSTEMTIME st{};
    if (!wnd || SendMessageW(wnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID)
        return FDateTime;
    return SystemTimeToDateTime(st);
}

void TDateTimePicker::SetDateTime(TDateTime value) {
    FDateTime = value;
    if (HandleAllocated()) InitializeWnd();
}

void TDateTimePicker::WndProc(TMessage& message) {
    if (message.Msg == CN_NOTIFY) {
        if (reinterpret_cast<NMHDR*>(message.LParam)->code == DTN_DATETIMECHANGE && OnChange)
            OnChange(this);
        return;
    }
    TWinControl::WndProc(message);
}
