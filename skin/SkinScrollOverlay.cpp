#include "skin/SkinScrollOverlay.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/WindowObjects.h"
#include "skin/SkinData.h"
#include <algorithm>
#include <windowsx.h>

namespace {

bool RegisterOverlayClass(WNDPROC proc) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"TWScrollbar";
    return RegisterClassW(&wc) != 0;
}

bool IsOverlay(HWND wnd) {
    wchar_t name[16];
    return GetClassNameW(wnd, name, 16) && wcscmp(name, L"TWScrollbar") == 0;
}

} // namespace

TWScrollbar::TWScrollbar(TSkinData& data, HWND host, TKind kind)
    : FData(data), FHost(host), FKind(kind) {
    static const bool registered = RegisterOverlayClass(&TWScrollbar::WndProc);
    HWND parent = GetAncestor(host, GA_PARENT);
    if (!registered || !parent || parent == GetDesktopWindow()) return;
    TWindowCreation creation(*this, "TWScrollbar", [](TObject&, HWND) {});
    FWnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"TWScrollbar", L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0,
                           0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TWScrollbar::~TWScrollbar() {
    if (!FWnd) return;
    SetWindowObject(FWnd, nullptr);
    DestroyWindow(FWnd);
}

LRESULT CALLBACK TWScrollbar::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = dynamic_cast<TWScrollbar*>(WindowObject(wnd));
    try {
        if (self && self->Handled(wnd, msg, lParam)) return msg == WM_ERASEBKGND;
    } catch (...) {
        Application->HandleException(nullptr);
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

bool TWScrollbar::Handled(HWND wnd, UINT msg, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: Paint(TPaintScope(wnd).Get()); return true;
    case WM_ERASEBKGND: return true;
    case WM_LBUTTONDOWN: Press(lParam); return true;
    case WM_LBUTTONUP: Release(lParam); return true;
    case WM_NCDESTROY: // the parent is going, and this window with it
        SetWindowObject(wnd, nullptr);
        FWnd = nullptr;
        FShown = false;
        return false;
    }
    return false;
}

bool TWScrollbar::Info(SCROLLBARINFO& info) const {
    info = {};
    info.cbSize = sizeof(info);
    return IsWindow(FHost) &&
           GetScrollBarInfo(FHost, FKind == Vertical ? OBJID_VSCROLL : OBJID_HSCROLL, &info);
}

void TWScrollbar::HideBar() {
    if (FWnd) ShowWindow(FWnd, SW_HIDE);
    FShown = false;
}

bool TWScrollbar::CanPaint() const {
    const auto& arrows = FData.Elements().Scrollbar;
    return arrows && !arrows->Bitmap.Empty();
}

// Without the skin's arrows the overlay stays hidden and the native bar shows.
void TWScrollbar::UpdatePosition() {
    SCROLLBARINFO info;
    if (!FWnd || !CanPaint() || !Info(info) ||
        !(GetWindowLongPtrW(FHost, GWL_STYLE) & WS_VISIBLE) ||
        (info.rgstate[0] & STATE_SYSTEM_INVISIBLE))
        return HideBar();
    RECT r = info.rcScrollBar;
    MapWindowPoints(nullptr, GetParent(FWnd), reinterpret_cast<POINT*>(&r), 2);
    HWND after = GetWindow(FHost, GW_HWNDPREV);
    UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
    if (AboveHost())
        flags |= SWP_NOZORDER;
    else if (!after)
        after = HWND_TOP;
    SetWindowPos(FWnd, after, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
    FShown = true;
    Redraw();
}

// Directly above the host among its siblings (with only overlays between), so that the
// host's own bar stays covered.
bool TWScrollbar::AboveHost() const {
    for (HWND w = GetWindow(FHost, GW_HWNDPREV); w && IsOverlay(w); w = GetWindow(w, GW_HWNDPREV))
        if (w == FWnd) return true;
    return false;
}

void TWScrollbar::Redraw() {
    if (FWnd && FShown) RedrawWindow(FWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

LPARAM TWScrollbar::ScreenPoint(LPARAM lParam) const {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(FWnd, &p);
    return MAKELPARAM(p.x, p.y);
}

// The host runs its native scroll loop; this returns when the button is let go.
void TWScrollbar::Press(LPARAM lParam) {
    SCROLLBARINFO info;
    if (!Info(info)) return;
    GetCursorPos(&FDownCursor);
    FDownThumbTop = info.xyThumbTop;
    FMouseDown = true;
    ReleaseCapture();
    SendMessageW(FHost, WM_NCLBUTTONDOWN, FKind == Vertical ? HTVSCROLL : HTHSCROLL,
                 ScreenPoint(lParam));
    FMouseDown = false;
    ReleaseCapture();
    Redraw();
}

void TWScrollbar::Release(LPARAM lParam) {
    FMouseDown = false;
    ReleaseCapture();
    PostMessageW(FHost, WM_NCLBUTTONUP, FKind == Vertical ? HTVSCROLL : HTHSCROLL,
                 ScreenPoint(lParam));
}

void TWScrollbar::Paint(HDC dc) {
    const TSkinElements& e = FData.Elements();
    SCROLLBARINFO info;
    if (!CanPaint() || !Info(info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return;
    const bool enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    const bool vertical = FKind == Vertical;
    const int w = info.rcScrollBar.right - info.rcScrollBar.left;
    const int h = info.rcScrollBar.bottom - info.rcScrollBar.top;
    FOffscreen.Paint(dc, {0, 0, w, h}, [&](HDC b, const RECT& whole) {
        const int length = vertical ? h : w, thickness = vertical ? w : h;
        int arrow = GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
        SetStretchBltMode(b, COLORONCOLOR);
        FillRect(b, &whole, FData.ButtonFaceBrush());
        if (TDataSkinObject* track = (vertical ? e.VertScroll : e.HorzScroll).get()) {
            RECT r = vertical ? RECT{0, arrow, w, h - arrow} : RECT{arrow, 0, w - arrow, h};
            DrawSkinRect(b, r, track->Bitmap, false, track->Tile, track->Trans, 4, enabled ? 1 : 3,
                         track->Margins());
        }
        if (2 * arrow > length) arrow = length / 2;
        const int firstFrame = vertical ? 9 : 1, secondFrame = vertical ? 13 : 5;
        const RECT first = vertical ? RECT{0, 0, w, arrow} : RECT{0, 0, arrow, h};
        const RECT second = vertical ? RECT{0, h - arrow, w, h} : RECT{w - arrow, 0, w, h};
        DrawSkinFrame(b, first, e.Scrollbar->Bitmap, true, 23,
                      firstFrame + (FMouseDown && FDownPart == SB_LINEUP));
        DrawSkinFrame(b, second, e.Scrollbar->Bitmap, true, 23,
                      secondFrame + (FMouseDown && FDownPart == SB_LINEDOWN));
        if (enabled) DrawThumb(b, info, arrow, thickness);
    });
}

// While the host tracks the thumb, the thumb follows the mouse between the arrows.
void TWScrollbar::DrawThumb(HDC dc, const SCROLLBARINFO& info, int arrow, int thickness) {
    const bool vertical = FKind == Vertical;
    TDataSkinObject* thumb =
        (vertical ? FData.Elements().VertScrollThumb : FData.Elements().HorzScrollThumb).get();
    if (!thumb || thumb->Bitmap.Empty()) return;
    int start = info.xyThumbTop, end = info.xyThumbBottom;
    const bool tracking = FMouseDown && FDownPart == SB_THUMBTRACK;
    if (tracking) {
        POINT cursor;
        GetCursorPos(&cursor);
        const int moved = vertical ? cursor.y - FDownCursor.y : cursor.x - FDownCursor.x;
        const int length = vertical ? info.rcScrollBar.bottom - info.rcScrollBar.top
                                    : info.rcScrollBar.right - info.rcScrollBar.left;
        const int size = end - start;
        start = std::max(arrow, std::min(FDownThumbTop + moved, length - arrow - size));
        end = start + size;
    }
    if (end <= start) return;
    const RECT r = vertical ? RECT{0, start, thickness, end} : RECT{start, 0, end, thickness};
    DrawSkinRect(dc, r, thumb->Bitmap, false, false, thumb->Trans, thumb->FrameCount,
                 tracking ? 2 : 1, thumb->Margins());
}
