#include "classlib/gui/WinControl.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Hints.h"
#include "classlib/gui/TypInfo.h"
#include "classlib/gui/WindowText.h"
#include <algorithm>

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TWinControl>({
    Published("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop),
    Published("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered),
});

} // namespace

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    FBrush.SetColor(Color());
}

TWinControl::~TWinControl() {
    BeginDestroy();
    if (Parent()) Parent()->RemoveControl(this);
    DestroyHandle();
    while (!FControls.empty())
        delete FControls.back(); // each one unlinks itself
}

void TWinControl::InsertControl(TControl* control) {
    FControls.push_back(control);
    control->FParent = this;
    control->Perform(CM_PARENTFONTCHANGED);
    control->Perform(CM_PARENTCOLORCHANGED);
    auto windowed = dynamic_cast<TWinControl*>(control);
    if (windowed && windowed->FHandle) {
        if (FHandle)
            ::SetParent(windowed->FHandle, FHandle);
        else
            windowed->DestroyHandle();
    } else if (windowed && FHandle) {
        windowed->HandleNeeded();
    } else if (!windowed) {
        control->Invalidate();
        if (control->ShowHint()) UpdateHintTool(*control);
    }
    if (control->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(FControls.begin(), FControls.end(), control);
    if (it == FControls.end()) return;
    control->Invalidate();
    FControls.erase(it);
    if (FMouseControl == control) FMouseControl = nullptr;
    if (FCaptureControl == control) FCaptureControl = nullptr;
    if (control->ShowHint()) RemoveHintTool(*control);
    if (auto windowed = dynamic_cast<TWinControl*>(control)) windowed->DestroyHandle();
    control->FParent = nullptr;
}

TControl* TWinControl::GraphicControlAt(POINT p) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        RECT r = c->BoundsRect();
        if (!IsWindowed(c) && c->Visible() && c->Enabled() && PtInRect(&r, p)) return c;
    }
    return nullptr;
}

bool TWinControl::Focused() const {
    return FHandle && GetFocus() == FHandle;
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    ::SetFocus(Handle());
}

void TWinControl::SetTabStop(bool value) {
    FTabStop = value;
    if (!FHandle) return;
    LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    SetWindowLongPtrW(FHandle, GWL_STYLE, value ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

RECT TWinControl::ClientRect() {
    RECT r{0, 0, 0, 0};
    if (FHandle) {
        GetClientRect(FHandle, &r);
        return r;
    }
    SIZE frame = NonClientSize();
    return {0, 0, std::max(0L, FWidth - frame.cx), std::max(0L, FHeight - frame.cy)};
}

SIZE TWinControl::NonClientSize() {
    if (FHandle) {
        RECT window, client;
        GetWindowRect(FHandle, &window);
        GetClientRect(FHandle, &client);
        return {window.right - window.left - client.right,
                window.bottom - window.top - client.bottom};
    }
    TCreateParams params;
    CreateParams(params);
    RECT r{0, 0, 100, 100};
    AdjustWindowRectEx(&r, params.Style, FALSE, params.ExStyle);
    return {r.right - r.left - 100, r.bottom - r.top - 100};
}

void TWinControl::Invalidate() {
    if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Update() {
    if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (!FHandle) return TControl::SetBounds(left, top, width, height);
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    RequestAlign();
}

void TWinControl::BoundsChanged(const RECT& oldBounds) {
    (void)oldBounds;
    Realign(); // no window yet: WM_SIZE will not come
}

void TWinControl::Realign() {
    if (FAligning) return;
    FAligning = true;
    RECT r = ClientRect();
    AdjustClientRect(r);
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : FControls) {
            if (c->Align() != align || !c->Visible()) continue;
            int w = r.right - r.left, h = r.bottom - r.top;
            switch (align) {
            case alTop:
                c->SetBounds(r.left, r.top, w, c->Height());
                r.top += c->Height();
                break;
            case alBottom:
                c->SetBounds(r.left, r.bottom - c->Height(), w, c->Height());
                r.bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(r.left, r.top, c->Width(), h);
                r.left += c->Width();
                break;
            case alRight:
                c->SetBounds(r.right - c->Width(), r.top, c->Width(), h);
                r.right -= c->Width();
                break;
            default: c->SetBounds(r.left, r.top, w, h); break;
            }
        }
    }
    FAligning = false;
}

std::string TWinControl::ReadText() const {
    if (!FHandle) return FText;
    return GetWindowTextStr(FHandle);
}

void TWinControl::WriteText(const std::string& text) {
    if (text == ReadText()) return;
    FText = text;
    if (FHandle) SetWindowTextW(FHandle, ToWide(text).c_str());
    Perform(CM_TEXTCHANGED);
}

void TWinControl::VisibleChanged() {
    if (!FHandle) return;
    UINT show = Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 show | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::EnabledChanged() {
    if (FHandle) EnableWindow(FHandle, Enabled());
}
