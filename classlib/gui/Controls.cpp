#include "classlib/gui/Controls.h"
#include "classlib/gui/Hints.h"
#include "classlib/gui/TypInfo.h"
#include "classlib/gui/WinControl.h"
#include <windowsx.h>

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TControl>({
    Published("Left", &TControl::Left, &TControl::SetLeft),
    Published("Top", &TControl::Top, &TControl::SetTop),
    Published("Width", &TControl::Width, &TControl::SetWidth),
    Published("Height", &TControl::Height, &TControl::SetHeight),
    Published("Align", &TControl::Align, &TControl::SetAlign,
              {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}),
    Published("Visible", &TControl::Visible, &TControl::SetVisible),
    Published("Enabled", &TControl::Enabled, &TControl::SetEnabled),
    Published("Caption", &TControl::Caption, &TControl::SetCaption),
    Published("Text", &TControl::Text, &TControl::SetText),
    Published("Color", &TControl::Color, &TControl::SetColor),
    Published("ParentColor", &TControl::ParentColor, &TControl::SetParentColor),
    Published("ParentFont", &TControl::ParentFont, &TControl::SetParentFont),
    Published("Font", &TControl::FontObject, &TControl::SetFontObject),
    Published("Hint", &TControl::Hint, &TControl::SetHint),
    Published("ShowHint", &TControl::ShowHint, &TControl::SetShowHint),
});

} // namespace

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = TWndMethod::Of<&TControl::WndProc>(this);
    FFont.OnChange = [this] {
        if (!FTakingParentFont) FParentFont = false;
        Perform(CM_FONTCHANGED);
    };
}

TControl::~TControl() {
    BeginDestroy();
    if (FParent) FParent->RemoveControl(this);
}

void TControl::SetHint(const std::string& hint) {
    FHint = hint;
    UpdateHintTool(*this);
}

void TControl::SetShowHint(bool value) {
    FShowHint = value;
    UpdateHintTool(*this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    WindowProc(message);
    return message.Result;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    if (FParent) FParent->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(message); break;
    case WM_LBUTTONUP: WMLButtonUp(message); break;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        DefaultHandler(message);
        MouseDown(message.Msg == WM_RBUTTONDOWN ? mbRight : mbMiddle,
                  KeysToShiftState(static_cast<unsigned>(message.WParam)),
                  GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
        break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(message); break;
    default: DefaultHandler(message); break;
    }
}

void TControl::DefaultHandler(TMessage& message) {
    (void)message; // a control without a window has no further handling
}

void TControl::WMLButtonDown(TMessage& message) {
    FMouseDown = true;
    DefaultHandler(message);
    MouseDown(mbLeft, KeysToShiftState(static_cast<unsigned>(message.WParam)),
              GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

TShiftState KeysToShiftState(unsigned keys) {
    TShiftState shift = 0;
    if (keys & MK_SHIFT) shift |= ssShift;
    if (keys & MK_CONTROL) shift |= ssCtrl;
    if (keys & MK_LBUTTON) shift |= ssLeft;
    if (keys & MK_RBUTTON) shift |= ssRight;
    if (keys & MK_MBUTTON) shift |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

TShiftState KeyDataToShiftState(long keyData) {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (keyData & 0x20000000) shift |= ssAlt;
    return shift;
}

void TControl::WMLButtonUp(TMessage& message) {
    bool wasDown = std::exchange(FMouseDown, false);
    DefaultHandler(message);
    POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    RECT client = ClientRect();
    if (wasDown && FClickOnMouseUp && PtInRect(&client, p)) Click();
}

void TControl::CMParentFontChanged(TMessage& message) {
    (void)message;
    if (!FParentFont || !FParent) return;
    FTakingParentFont = true;
    FFont.Assign(FParent->Font());
    FTakingParentFont = false;
}

void TControl::CMParentColorChanged(TMessage& message) {
    (void)message;
    if (!FParentColor || !FParent) return;
    FColor = FParent->Color();
    Perform(CM_COLORCHANGED);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    RECT old = BoundsRect();
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    BoundsChanged(old);
    RequestAlign();
}

void TControl::SetAlign(TAlign align) {
    FAlign = align;
    RequestAlign();
}

void TControl::RequestAlign() {
    if (FAlign != alNone && FParent) FParent->Realign();
}

void TControl::BoundsChanged(const RECT& oldBounds) {
    if (FShowHint) UpdateHintTool(*this); // a graphic control's tool is its rectangle
    if (!FParent || !FParent->HandleAllocated() || !FVisible) return;
    RECT now = BoundsRect();
    InvalidateRect(FParent->Handle(), &oldBounds, TRUE);
    InvalidateRect(FParent->Handle(), &now, TRUE);
}

RECT TControl::ClientRect() {
    return {0, 0, FWidth, FHeight};
}

void TControl::SetClientWidth(int v) {
    SetWidth(v + NonClientSize().cx);
}

void TControl::SetClientHeight(int v) {
    SetHeight(v + NonClientSize().cy);
}

POINT TControl::ClientToScreen(POINT p) {
    if (auto self = dynamic_cast<TWinControl*>(this)) {
        ::ClientToScreen(self->Handle(), &p);
        return p;
    }
    if (!FParent) return p;
    return FParent->ClientToScreen({p.x + FLeft, p.y + FTop});
}

POINT TControl::ScreenToClient(POINT p) {
    POINT origin = ClientToScreen({0, 0});
    return {p.x - origin.x, p.y - origin.y};
}

void TControl::SetVisible(bool visible) {
    if (visible == FVisible) return;
    FVisible = visible;
    if (FShowHint) UpdateHintTool(*this);
    VisibleChanged();
    RequestAlign();
    Perform(CM_VISIBLECHANGED, visible);
}

void TControl::VisibleChanged() {
    if (FParent && FParent->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(FParent->Handle(), &r, TRUE);
    }
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FVisible) return false;
    return true;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    EnabledChanged();
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TControl::WriteText(const std::string& text) {
    if (text == FText) return;
    FText = text;
    Perform(CM_TEXTCHANGED);
    Invalidate();
}

void TControl::SetColor(TColor color) {
    FParentColor = false;
    if (color == FColor) return;
    FColor = color;
    Perform(CM_COLORCHANGED);
    Invalidate();
}

void TControl::SetParentColor(bool value) {
    FParentColor = value;
    if (value) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool value) {
    FParentFont = value;
    if (value) Perform(CM_PARENTFONTCHANGED);
}

void TControl::Invalidate() {
    if (!FParent || !FParent->HandleAllocated() || !Showing()) return;
    RECT r = BoundsRect();
    InvalidateRect(FParent->Handle(), &r, TRUE);
}

void TControl::Update() {
    if (FParent) FParent->Update();
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}
