#include "skin/SkinControl.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/CustomControl.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/TypInfo.h"
#include "classlib/gui/WinControl.h"
#include "classlib/gui/WindowText.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinMessages.h"
#include "skin/SkinReader.h"
#include <algorithm>
#include <optional>
#include <windowsx.h>

bool TSkinControls::Add(TSkinControl* control) {
    if (std::find(FItems.begin(), FItems.end(), control) != FItems.end()) return true;
    FItems.push_back(control);
    return false;
}

void TSkinControls::Remove(TSkinControl* control) {
    if (Hot == control) Hot = nullptr;
    auto it = std::find(FItems.rbegin(), FItems.rend(), control);
    if (it != FItems.rend()) FItems.erase(std::next(it).base());
}

void TSkinControls::Sweep() {
    std::vector<TSkinControl*> dead;
    for (TSkinControl* c : FItems)
        if (c->LifeState() == lsDestroyed) dead.push_back(c);
    for (TSkinControl* c : dead)
        delete c; // unlists itself
}

void TSkinControls::DestroyAll() {
    while (!FItems.empty()) {
        TSkinControl* c = FItems.back();
        if (c->LifeState() != lsDestroyed) c->Restore();
        delete c; // unlists itself
    }
    Hot = nullptr;
}

void TSkinControls::RefreshAll() {
    for (TSkinControl* c : std::vector<TSkinControl*>(FItems))
        if (c->LifeState() == lsAttached) c->Refresh();
}

TSkinControl* TSkinControls::Find(HWND wnd) const {
    for (TSkinControl* c : FItems)
        if (c->Handle() == wnd && c->LifeState() != lsDestroyed) return c;
    return nullptr;
}

TSkinControl* TSkinControls::FindFor(const TControl* control) const {
    for (TSkinControl* c : FItems)
        if ((c->Control() == control || c->GraphicControl() == control) &&
            c->LifeState() != lsDestroyed)
            return c;
    return nullptr;
}

TSkinControl::~TSkinControl() {
    Unhook();
    if (FSkinForm) FSkinForm->Controls().Remove(this);
}

// Gives the control its message route back, and a still living window its native look.
void TSkinControl::Unhook() {
    TControl* control = FControl ? FControl : FGraphicControl;
    const TWndMethod own = TWndMethod::Of<&TSkinControl::MessageProc>(this);
    if (control && control->Destroying()) return;
    if (control && control->WindowProc == own) control->WindowProc = FOldWindowProc;
    FSubclass.reset();
    if (FLifeState != lsDestroyed && FHandle && IsWindow(FHandle))
        RedrawWindow(FHandle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    else if (FGraphicControl)
        FGraphicControl->Invalidate();
}

void TSkinControl::InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) {
    AttachControl(form, data, useSkinColour, true);
}

void TSkinControl::AttachControl(TSkinForm* form, TSkinData* data, bool useSkinColour, bool hook) {
    if (FAttached) return;
    FUseSkinColour = useSkinColour;
    FSkinData = data;
    FSkinForm = form;
    FControl = dynamic_cast<TWinControl*>(Owner());
    if (!FControl) return;
    FHandle = FControl->Handle();
    if (hook) {
        FOldWindowProc = FControl->WindowProc;
        FControl->WindowProc = TWndMethod::Of<&TSkinControl::MessageProc>(this);
        FControl->SetDoubleBuffered(true);
    }
    form->Controls().Add(this);
    if (useSkinColour) {
        ParentBackground(true);
        FSavedColour = FControl->Color();
        FControl->SetColor(data->Colours().ButtonFace);
    }
    FControl->Invalidate();
    FAttached = true;
    FLifeState = lsAttached;
}

void TSkinControl::InitHandle(HWND wnd, TSkinData* data, TSkinForm* form) {
    if (FAttached) return;
    FHandle = wnd;
    FSkinData = data;
    FSkinForm = form;
    FCtrlEnabled = true;
    form->Controls().Add(this);
    FCaption = GetWindowTextStr(wnd);
    // The system's subclass chain calls the previous procedure in its own character set.
    FSubclass =
        std::make_unique<TWindowSubclass>(wnd, TWndMethod::Of<&TSkinControl::MessageProc>(this));
    InvalidateRect(wnd, nullptr, TRUE);
    FAttached = true;
    FLifeState = lsAttached;
}

void TSkinControl::InitGraphic(TSkinForm* form, TSkinData* data) {
    if (FAttached) return;
    FGraphicControl = dynamic_cast<TControl*>(Owner());
    if (!FGraphicControl) return;
    FSkinData = data;
    FSkinForm = form;
    FOldWindowProc = FGraphicControl->WindowProc;
    FGraphicControl->WindowProc = TWndMethod::Of<&TSkinControl::MessageProc>(this);
    form->Controls().Add(this);
    FGraphicControl->Invalidate();
    FAttached = true;
    FLifeState = lsAttached;
}

void TSkinControl::InitScroll(TWinControl* control, TSkinData* data, TSkinForm* form) {
    (void)control;
    (void)data;
    (void)form;
}

void TSkinControl::ParentBackground(bool switchOff) {
    if ((FSkinData->Options & SkinOption(xoParentBackGround)) || !FControl ||
        !IsPublishedProp(*FControl, "ParentBackground"))
        return;
    if (switchOff) {
        FParentBgWasTrue = AsciiLowerCase(GetPropValue(*FControl, "ParentBackground")) == "true";
        if (FParentBgWasTrue) SetPropValue(*FControl, "ParentBackground", "False");
    } else if (FParentBgWasTrue) {
        SetPropValue(*FControl, "ParentBackground", "True");
    }
}

void TSkinControl::Restore() {
    if (!FUseSkinColour || !FControl || FControl->Destroying()) return;
    ParentBackground(false);
    FControl->SetColor(FSavedColour);
}

void TSkinControl::Refresh() {
    if (FUseSkinColour && FControl) FControl->SetColor(FSkinData->Colours().ButtonFace);
    Repaint();
}

void TSkinControl::MessageProc(TMessage& message) {
    if (FActive) {
        if (BeforeMessage(message)) {
            CallPrevious(message);
            AfterMessage(message);
        }
        return;
    }
    if (message.Msg == WM_SKINCONTROL) {
        FActive = static_cast<INT_PTR>(message.WParam) > 0;
        if (FActive) Repaint();
        return;
    }
    CallPrevious(message);
}

void TSkinControl::CallPrevious(TMessage& message) {
    if (FOldWindowProc)
        FOldWindowProc(message);
    else if (FSubclass)
        FSubclass->CallPrevious(message);
}

bool TSkinControl::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_NCDESTROY:
        CallPrevious(message);
        FActive = false;
        FLifeState = lsDestroyed;
        Restore();
        return false;
    case WM_SKINQUERY: message.Result = 1; return false;
    }
    return true;
}

void TSkinControl::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT: PaintControl(reinterpret_cast<HDC>(message.WParam)); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED: Repaint(); break;
    case WM_SKINCONTROL: FActive = static_cast<INT_PTR>(message.WParam) > 0; break;
    }
}

void TSkinControl::PaintControl(HDC dc) {
    RECT r;
    if (!FHandle || !GetWindowRect(FHandle, &r)) return;
    OffsetRect(&r, -r.left, -r.top);
    if (dc) return Draw(dc, r);
    TWholeWindowDC windowDC(FHandle);
    Draw(windowDC.Get(), r);
}

void TSkinControl::Repaint() {
    if (FGraphicControl) return FGraphicControl->Invalidate();
    if (!FHandle) return;
    InvalidateRect(FHandle, nullptr, TRUE);
    UpdateWindow(FHandle);
}

void TSkinControl::SendMouseLeave() {
    if (FHandle) SendMessageW(FHandle, CM_MOUSELEAVE, 0, 0);
}

void TSkinControl::WmPaint(TMessage& message) {
    std::optional<TPaintScope> paint;
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (!dc) dc = paint.emplace(FHandle).Get();
    GetWindowRect(FHandle, &FWindowRect);
    RECT r = FWindowRect;
    OffsetRect(&r, -r.left, -r.top);
    Draw(dc, r);
    message.Result = 0;
}

void TSkinControl::FollowNewHandle() {
    if (FControl) FHandle = FControl->Handle();
}

void TSkinControl::WmEraseBkgnd(TMessage& message) {
    FillParentBackground(reinterpret_cast<HDC>(message.WParam), true);
    message.Result = 1;
}

void TSkinControl::ForwardMouseDown(const TMessage& message) const {
    TControl* control = FControl ? FControl : FGraphicControl;
    if (!control) return;
    POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    if (control->Width() > 32768 || control->Height() > 32768) {
        GetCursorPos(&p);
        p = control->ScreenToClient(p);
    }
    control->MouseDown(mbLeft, KeysToShiftState(static_cast<unsigned>(message.WParam)), p.x, p.y);
}

void TSkinControl::FillParentBackground(HDC dc, bool drawChildren) const {
    TControl* control = FControl ? FControl : FGraphicControl;
    if (control && control->Parent()) return DrawParentBackground(*control, dc, drawChildren);
    RECT r;
    GetClientRect(FHandle, &r);
    FillControlColour(dc, r);
}

TColor TSkinControl::GetControlColour(TColor def) const {
    TControl* control = FControl ? FControl : FGraphicControl;
    if (control && control->Parent()) return control->Parent()->Color();
    return def;
}

void TSkinControl::FillControlColour(HDC dc, const RECT& rect) const {
    TBrushHandle brush(
        CreateSolidBrush(ColorToRGB(GetControlColour(FSkinData->Colours().ButtonFace))));
    FillRect(dc, &rect, brush.Get());
}

void TSkinControl::FrameShadow(HDC dc, const RECT& rect) const {
    TBrushHandle shadow(CreateSolidBrush(ColorToRGB(FSkinData->Colours().ButtonShadow)));
    FrameRect(dc, &rect, shadow.Get());
}

void TSkinControl::FillSkinColour(HDC dc, const RECT& rect) const {
    FillRect(dc, &rect, FSkinData->ButtonFaceBrush());
}

void TSkinControl::DrawElement(HDC dc, const RECT& rect, int frames, int frame,
                               TDataSkinObject& element) {
    if (element.Bitmap.Empty()) return;
    DrawSkinRect(dc, rect, element.Bitmap, false, element.Tile, element.Trans, frames, frame,
                 element.Margins());
}

void TSkinControl::DrawFocusAround(HDC dc, RECT textRect, const RECT& bounds) const {
    if (FSkinData->Options & SkinOption(xoNoFocusRect)) return;
    InflateRect(&textRect, 2, 1);
    IntersectRect(&textRect, &textRect, &bounds);
    SetTextColor(dc, 0);
    SetBkColor(dc, 0xFFFFFF);
    DrawFocusRect(dc, &textRect);
}

bool TSkinControl::WindowEnabled() const {
    return !(Style() & WS_DISABLED);
}

LONG_PTR TSkinControl::Style() const {
    return FHandle ? GetWindowLongPtrW(FHandle, GWL_STYLE) : 0;
}

std::string TSkinControl::WindowText() const {
    return FHandle ? GetWindowTextStr(FHandle) : std::string();
}

std::string TSkinControl::PropText(const std::string& name) const {
    TControl* control = FControl ? FControl : FGraphicControl;
    if (!control || !IsPublishedProp(*control, name)) return {};
    return AsciiLowerCase(GetPropValue(*control, name));
}

void TSkinControl::SetPropText(const std::string& name, const std::string& value) {
    TControl* control = FControl ? FControl : FGraphicControl;
    if (control && IsPublishedProp(*control, name)) SetPropValue(*control, name, value);
}

void DrawParentBackground(TControl& control, HDC dc, bool drawChildren) {
    TWinControl* parent = control.Parent();
    if (!parent || !parent->HandleAllocated()) return;
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, -control.Left(), -control.Top(), nullptr);
    RECT client;
    GetClientRect(parent->Handle(), &client);
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
    if (drawChildren && !dynamic_cast<TCustomControl*>(parent) && !dynamic_cast<TForm*>(parent))
        parent->Invalidate();
}

HFONT WindowFont(HWND wnd) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool IsTopLevelWindow(HWND wnd) {
    return GetAncestor(wnd, GA_PARENT) == GetDesktopWindow() ||
           (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_POPUP);
}

void DrawCaption(HDC dc, RECT rect, UINT flags, bool enabled, const std::string& text) {
    SetBkMode(dc, TRANSPARENT);
    RECT measured = rect;
    SkinDrawText(dc, text, measured, flags | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
    const int h = measured.bottom - measured.top;
    OffsetRect(&rect, 0, (rect.bottom - rect.top - h) / 2 - 1);
    rect.bottom = rect.top + h;
    if (!enabled) SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    SkinDrawText(dc, text, rect, flags | DT_EXPANDTABS);
}

void DrawSkinText(HDC dc, RECT rect, const std::string& text, TAlignment alignment, bool enabled) {
    const UINT flags = (alignment == taRightJustify ? DT_RIGHT
                        : alignment == taCenter     ? DT_CENTER
                                                    : DT_LEFT) |
                       DT_SINGLELINE | DT_EXPANDTABS;
    SetBkMode(dc, TRANSPARENT);
    RECT measured = rect;
    SkinDrawText(dc, text, measured, flags | DT_CALCRECT);
    const int w = measured.right - measured.left, h = measured.bottom - measured.top;
    OffsetRect(&rect, (rect.right - rect.left - w) / 2, (rect.bottom - rect.top - h) / 2);
    rect.right = rect.left + w;
    rect.bottom = rect.top + h;
    if (!enabled) SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    SkinDrawText(dc, text, rect, flags);
}
