#include "classlib/gui/SpinEdit.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/TypInfo.h"
#include <algorithm>
#include <commctrl.h>

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TSpinEdit>({
    Published("Value", &TSpinEdit::Value, &TSpinEdit::SetValue),
    Published("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue),
    Published("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue),
    Published("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement),
});

constexpr int ArrowsWidth = 15;

} // namespace

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) {
    SetText("0");
}

void TSpinEdit::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.Style |= ES_AUTOHSCROLL;
}

void TSpinEdit::InitializeWnd() {
    TCustomEdit::InitializeWnd();
    FArrows =
        CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS, 0, 0,
                        ArrowsWidth, 0, Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(FArrows, UDM_SETRANGE32, 0, 2);
    SendMessageW(FArrows, UDM_SETPOS32, 0, 1); // any step away from the middle is a click
    PlaceArrows();
}

void TSpinEdit::PlaceArrows() {
    if (!FArrows) return;
    RECT r;
    GetClientRect(Handle(), &r);
    MoveWindow(FArrows, r.right - ArrowsWidth, 0, ArrowsWidth, r.bottom, TRUE);
    SendMessageW(Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, ArrowsWidth));
}

int TSpinEdit::Checked(int64_t value) const {
    if (FMinValue == FMaxValue)
        return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
    return static_cast<int>(std::clamp<int64_t>(value, FMinValue, FMaxValue));
}

int TSpinEdit::Value() const {
    int64_t value;
    try {
        value = StrToInt64(Trim(Text()));
    } catch (const EConvertError&) {
        value = FMinValue;
    }
    return Checked(value);
}

void TSpinEdit::SetValue(int value) {
    SetText(IntToStr(Checked(value)));
}

void TSpinEdit::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_NOTIFY: {
        auto change = reinterpret_cast<NMUPDOWN*>(message.LParam);
        if (change->hdr.hwndFrom != FArrows || change->hdr.code != UDN_DELTAPOS) break;
        SetValue(
            static_cast<int>(Checked(int64_t(Value()) + int64_t(change->iDelta) * FIncrement)));
        message.Result = 1; // the arrows keep their own position
        return;
    }
    case WM_NCDESTROY: FArrows = nullptr; break;
    default: break;
    }
    TCustomEdit::WndProc(message);
    if (message.Msg == WM_SIZE) PlaceArrows();
}
