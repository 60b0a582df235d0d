#include "skin/SkinScrollBar.h"
#include "classlib/gui/WinControl.h"
#include "skin/SkinData.h"

void TSkinScrollbar::InitScroll(TWinControl* control, TSkinData* data, TSkinForm* form) {
    (void)control; // the owner: the base attaches to it
    InitControl(form, data, false);
    if (!Control()) return;
    FDrawBorder = PropText("BorderStyle") != "bsnone";
    MakeBars();
    if (!Control()->Visible()) HideBars();
}

void TSkinScrollbar::InitHandle(HWND wnd, TSkinData* data, TSkinForm* form) {
    TSkinControl::InitHandle(wnd, data, form);
    MakeBars();
}

void TSkinScrollbar::MakeBars() {
    if (FHorzBar) return;
    FHorzBar = std::make_unique<TWScrollbar>(*SkinData(), Handle(), TWScrollbar::Horizontal);
    FVertBar = std::make_unique<TWScrollbar>(*SkinData(), Handle(), TWScrollbar::Vertical);
    UpdateBars();
}

// The overlays go with the host's window too: left behind, they would show a dead bar.
void TSkinScrollbar::Restore() {
    TSkinControl::Restore();
    FHorzBar.reset();
    FVertBar.reset();
}

void TSkinScrollbar::UpdateBars() {
    for (TWScrollbar* bar : {FHorzBar.get(), FVertBar.get()})
        if (bar) bar->UpdatePosition();
}

void TSkinScrollbar::HideBars() {
    for (TWScrollbar* bar : {FHorzBar.get(), FVertBar.get()})
        if (bar) bar->HideBar();
}

bool TSkinScrollbar::BeforeMessage(TMessage& message) {
    if (message.Msg == CM_RECREATEWND) FRecreating = true;
    if (message.Msg == WM_NCDESTROY && FRecreating) return true; // the old window only
    return TSkinControl::BeforeMessage(message);
}

void TSkinScrollbar::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (TWScrollbar* bar = (message.Msg == WM_VSCROLL ? FVertBar : FHorzBar).get()) {
            bar->SetDownPart(LOWORD(message.WParam));
            bar->Redraw();
        }
        break;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
    case WM_NCPAINT:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: UpdateBars(); break;
    case WM_SHOWWINDOW:
        if (!message.WParam) HideBars();
        break;
    case CM_RECREATEWND: // the overlays follow the new window's bars
        FRecreating = false;
        FollowNewHandle();
        FHorzBar.reset();
        FVertBar.reset();
        MakeBars();
        break;
    case CM_VISIBLECHANGED:
        if (message.WParam)
            UpdateBars();
        else
            HideBars();
        break;
    default: TSkinControl::AfterMessage(message);
    }
}

// Follows the host's bars on every paint; fills the square between them and, for a
// control with a border, draws the skin's frame over the native edge.
void TSkinScrollbar::Draw(HDC dc, const RECT& rect) {
    UpdateBars();
    FillCorner(dc);
    RECT client;
    GetClientRect(Handle(), &client);
    const bool hasEdge = client.right < rect.right || client.bottom < rect.bottom;
    if (!FDrawBorder || !hasEdge) return;
    FrameShadow(dc, rect);
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    FrameRect(dc, &inner, SkinData()->ButtonFaceBrush());
}

void TSkinScrollbar::FillCorner(HDC dc) {
    if (!FHorzBar || !FHorzBar->Shown() || !FVertBar->Shown()) return;
    RECT window, horz, vert;
    GetWindowRect(Handle(), &window);
    GetWindowRect(FHorzBar->Handle(), &horz);
    GetWindowRect(FVertBar->Handle(), &vert);
    RECT corner{vert.left, horz.top, vert.right, horz.bottom};
    OffsetRect(&corner, -window.left, -window.top);
    FillSkinColour(dc, corner);
}

void TSkinScrollbarH::AfterMessage(TMessage& message) {
    if (VertBar() && !IsWindowVisible(Handle())) VertBar()->HideBar();
    if (message.Msg == WM_SIZE || message.Msg == WM_NCPAINT) {
        UpdateBars();
        return Repaint();
    }
    TSkinScrollbar::AfterMessage(message);
}
