// TSkinForm's non-client area: frame metrics, the native caption bits, painting of
// borders and title, the window region cut from the borders' key pixels and the
// client size kept inside the skinned frame.
#include "classlib/gui/Platform.h"
#include "classlib/gui/Timer.h"
#include "classlib/gui/WindowText.h"
#include "skin/SkinCaption.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinMenuBar.h"
#include "skin/SkinPaint.h"
#include <algorithm>

namespace {

int BorderFrame(const TDataSkinBorder& border, bool active) {
    return border.FrameCount == 1 || active ? 1 : 2;
}

// Border n drawn at w x h, its middle stretched or tiled; empty for no size.
std::unique_ptr<TBitmap> MakeBorder(const TSkinData& data, int n, int w, int h, bool active) {
    TDataSkinBorder& b = *data.Elements().Borders[n];
    if (w <= 0 || h <= 0) return std::make_unique<TBitmap>();
    const bool vertical = n == TSkinElements::bdTop || n == TSkinElements::bdBottom;
    return MakeSkinBitmap(w, h, b.Bitmap, b.Margins(), vertical, b.Tile != 1, b.FrameCount,
                          BorderFrame(b, active));
}

// GetWindowDC/ReleaseDC, unless a DC was given.
class TFrameDC {
public:
    TFrameDC(HWND wnd, HDC given) : FWnd(wnd), FDC(given ? given : GetWindowDC(wnd)) {
        FOwn = !given;
    }
    ~TFrameDC() {
        if (FOwn && FDC) ReleaseDC(FWnd, FDC);
    }
    TFrameDC(const TFrameDC&) = delete;
    TFrameDC& operator=(const TFrameDC&) = delete;
    [[nodiscard]] HDC Get() const { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
    bool FOwn;
};

} // namespace

bool KeepsNativeCaption(DWORD platformId, DWORD major, DWORD minor) {
    return platformId == VER_PLATFORM_WIN32_NT && (major > 5 || (major == 5 && minor >= 1));
}

void TSkinForm::LoadFrame() {
    if (!FSkinData->SkinReady()) return;
    const auto& borders = FSkinData->Elements().Borders;
    auto across = [](const TDataSkinBorder& b) { return b.Bitmap.Width() / b.FrameCount; };
    auto down = [](const TDataSkinBorder& b) { return b.Bitmap.Height() / b.FrameCount; };
    FMetrics.Left = across(*borders[TSkinElements::bdLeft]);
    FMetrics.Right = across(*borders[TSkinElements::bdRight]);
    FMetrics.Title = down(*borders[TSkinElements::bdTop]);
    FMetrics.Bottom = down(*borders[TSkinElements::bdBottom]);
    if (FBorderKind == TBorderKind::Popup) FMetrics = {};
    MakeSysButtons();
}

void TSkinForm::SetNativeFrame(bool restore) {
    if (restore && FChild) return;
    FNative = restore;
    const LONG_PTR style = GetWindowLongPtrW(Handle, GWL_STYLE);
    LONG_PTR changed = style;
    if (restore) {
        if (FSavedBits & sbSysMenu) changed |= WS_SYSMENU;
        if (FSavedBits & sbMinBox) changed |= WS_MINIMIZEBOX;
        if (FSavedBits & sbMaxBox) changed |= WS_MAXIMIZEBOX;
        if (FSavedBits & sbCaption) changed |= WS_CAPTION;
    } else {
        const TOSVersion v = OSVersionQuery();
        const bool unowned = !GetWindow(Handle, GW_OWNER) ||
                             (GetWindowLongPtrW(Handle, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        if (unowned && !KeepsNativeCaption(v.PlatformId, v.Major, v.Minor)) {
            if ((style & WS_CAPTION) == WS_CAPTION) FSavedBits |= sbCaption;
            changed &= ~WS_CAPTION;
        } else {
            changed &= ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU);
        }
    }
    if (changed != style) SetWindowLongPtrW(Handle, GWL_STYLE, changed);
}

void TSkinForm::PaintFrame(HDC given) {
    if ((FAttach != TAttachState::Ready && FAttach != TAttachState::Reapplying) ||
        FBorderKind == TBorderKind::Popup || !FFrameSkin || FPlacement == TPlacement::Minimized)
        return;
    TFrameDC dc(Handle, given);
    RECT r;
    GetWindowRect(Handle, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const TMetrics& m = FMetrics;
    auto left = MakeBorder(*FSkinData, TSkinElements::bdLeft, m.Left, h, FActive);
    auto right = MakeBorder(*FSkinData, TSkinElements::bdRight, m.Right, h, FActive);
    auto bottom =
        MakeBorder(*FSkinData, TSkinElements::bdBottom, w - m.Left - m.Right, m.Bottom, FActive);
    BitBlt(dc.Get(), 0, 0, m.Left, h, left->Canvas().Handle(), 0, 0, SRCCOPY);
    BitBlt(dc.Get(), w - m.Right, 0, m.Right, h, right->Canvas().Handle(), 0, 0, SRCCOPY);
    BitBlt(dc.Get(), m.Left, h - m.Bottom, w - m.Left - m.Right, m.Bottom,
           bottom->Canvas().Handle(), 0, 0, SRCCOPY);
    PaintTitle(dc.Get(), *left, *right);
    const RECT bar{m.Left, m.Title, w - m.Right, m.Title + m.MenuBar};
    if (FMenuBar)
        FMenuBar->Paint(dc.Get(), bar);
    else if (m.MenuBar > 0)
        FillRect(dc.Get(), &bar, FSkinData->ButtonFaceBrush());
    if (FHot) FHot->State = TNCState::Normal;
    FHot = nullptr;
}

// The title goes to the screen in one copy: borders' tops, the top border, the
// caption text, then the caption buttons.
void TSkinForm::PaintTitle(HDC dc, TBitmap& left, TBitmap& right) {
    RECT r;
    GetWindowRect(Handle, &r);
    const int w = r.right - r.left, t = FMetrics.Title;
    if (w <= 0 || t <= 0) return;
    if (FTitle.Width() != w || FTitle.Height() != t) FTitle.SetSize(w, t);
    HDC title = FTitle.Canvas().Handle();
    BitBlt(title, 0, 0, FMetrics.Left, t, left.Canvas().Handle(), 0, 0, SRCCOPY);
    BitBlt(title, w - FMetrics.Right, 0, FMetrics.Right, t, right.Canvas().Handle(), 0, 0, SRCCOPY);
    auto top = MakeBorder(*FSkinData, TSkinElements::bdTop, w - FMetrics.Left - FMetrics.Right, t,
                          FActive);
    BitBlt(title, FMetrics.Left, 0, top->Width(), t, top->Canvas().Handle(), 0, 0, SRCCOPY);
    PaintCaptionText(title);
    if (FTitleBack.Width() != w || FTitleBack.Height() != t) FTitleBack.SetSize(w, t);
    BitBlt(FTitleBack.Canvas().Handle(), 0, 0, w, t, title, 0, 0, SRCCOPY);
    LayoutSysButtons(w);
    PaintSysButtons(title);
    BitBlt(dc, 0, 0, w, t, title, 0, 0, SRCCOPY);
    SetBkMode(dc, OPAQUE);
}

void TSkinForm::PaintCaptionText(HDC dc) {
    TDataSkinTitle& e = *FSkinData->Elements().Title;
    const TSkinColours& colours = FSkinData->Colours();
    const std::string text = "  " + GetWindowTextStr(Handle) + " ";
    TSelectScope font(dc, FCaptionFont.Get());
    SetBkMode(dc, TRANSPARENT);
    TColor colour = FActive ? e.ActiveTextColor : e.InactiveTextColor;
    if (colour == clNone) colour = FActive ? colours.TitleTextActive : colours.TitleTextNoActive;
    SetTextColor(dc, ColorToRGB(colour));
    const UINT format = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
    RECT calc{0, 0, 0, 0};
    SkinDrawText(dc, text, calc, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT); // the whole text
    const int tw = calc.right + e.TXTBackleft + e.TXTBackRight, th = calc.bottom;
    const int w = FTitle.Width(), t = FMetrics.Title, room = w - FMetrics.Left - FMetrics.Right;
    int x = FMetrics.Left + (e.TextAlignment == 0   ? e.LeftWidth
                             : e.TextAlignment == 1 ? (room - tw) / 2
                                                    : room - e.RightWidth - tw);
    if (FBorderKind == TBorderKind::Dialog && e.TextAlignment == 0) x -= 16;
    x = std::max(x, FMetrics.Left);
    const int y = (t - th) / 2 + e.TopHeight / 2;
    const bool popup = GetWindowLongPtrW(Handle, GWL_STYLE) & WS_POPUP;
    const int clip =
        popup && FRightButtonLeft >= 6 ? FRightButtonLeft - 5 : w - FMetrics.Right - e.RightWidth;
    FTextRect = {x, y, std::min(x + tw, clip), y + th};
    if (!e.Bitmap.Empty())
        DrawSkinStrip(dc, FTextRect, e.Bitmap, true, true, 2, FActive ? 1 : 2,
                      {e.TXTBackleft, 0, e.TXTBackRight, 0});
    RECT r = FTextRect;
    r.left += e.TXTBackleft;
    r.right -= e.TXTBackRight;
    if (r.right > r.left) SkinDrawText(dc, text, r, format);
}

void TSkinForm::UpdateRegion() {
    if (FAttach == TAttachState::Gone || !FFrameSkin) return;
    RECT r;
    GetWindowRect(Handle, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    if (FRegionSet && w == FRegionSize.cx && h == FRegionSize.cy &&
        FAttach != TAttachState::Reapplying)
        return;
    FRegionSize = {w, h};
    const auto& borders = FSkinData->Elements().Borders;
    const bool keyed =
        std::any_of(borders.begin(), borders.end(), [](const auto& b) { return b->Trans == 1; });
    const TMetrics& m = FMetrics;
    TGdiObject region(CreateRectRgn(0, 0, w, h));
    if (keyed) {
        region.Reset(CreateRectRgn(m.Left, m.Title, w - m.Right, h - m.Bottom));
        auto piece = [&](int n, const RECT& p) {
            const int pw = p.right - p.left, ph = p.bottom - p.top;
            const bool fromTitle =
                n == TSkinElements::bdTop && FTitle.Width() == w && FTitle.Height() == m.Title;
            if (borders[n]->Trans != 1 || pw <= 0 || ph <= 0)
                return TGdiObject(CreateRectRgn(p.left, p.top, p.right, p.bottom));
            if (fromTitle) return RegionFromBitmap(FTitle, p, {p.left, p.top});
            auto bitmap = MakeBorder(*FSkinData, n, pw, ph, FActive);
            return RegionFromBitmap(*bitmap, {0, 0, pw, ph}, {p.left, p.top});
        };
        TGdiObject left = piece(TSkinElements::bdLeft, {0, 0, m.Left, h});
        TGdiObject right = piece(TSkinElements::bdRight, {w - m.Right, 0, w, h});
        TGdiObject bottom = piece(TSkinElements::bdBottom, {m.Left, h - m.Bottom, w - m.Right, h});
        TGdiObject top = piece(TSkinElements::bdTop, {m.Left, 0, w - m.Right, m.Title});
        auto unite = [](TGdiObject& into, const TGdiObject& other) {
            CombineRgn(static_cast<HRGN>(into.Get()), static_cast<HRGN>(into.Get()),
                       static_cast<HRGN>(other.Get()), RGN_OR);
        };
        unite(left, right);
        unite(top, bottom);
        unite(top, left);
        unite(region, top);
    }
    // The system owns the region from here on (Wine deletes the handle at once).
    SetWindowRgn(Handle, static_cast<HRGN>(region.Release()), TRUE);
    FRegionSet = true;
}

void TSkinForm::ClearRegion() {
    if (!FRegionSet) return;
    FTitle.SetSize(0, 0);
    SetWindowRgn(Handle, nullptr, FALSE);
    FRegionSet = false;
    FRegionSize = {0, 0};
}

// The window grows or shrinks so that its client area keeps its size inside the
// skinned frame: the real client rectangle, whatever frame the window had (at
// activation the one it had before its native menu bar went). The client area moves
// within the window: what it showed is painted again, never copied to the new place
// (controls without a window of their own would keep the old picture).
void TSkinForm::KeepClientSize() {
    UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOCOPYBITS;
    if (FAttach == TAttachState::Reapplying || !IsWindowVisible(Handle)) flags |= SWP_NOACTIVATE;
    if (FPlacement == TPlacement::Maximized) {
        SetWindowPos(Handle, nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE);
        return;
    }
    RECT client;
    GetClientRect(Handle, &client);
    if (FAttach == TAttachState::KeepingSize) client = {0, 0, FAttachClient.cx, FAttachClient.cy};
    const TMetrics& m = FMetrics;
    SetWindowPos(Handle, nullptr, 0, 0, client.right + m.Left + m.Right,
                 client.bottom + m.Title + m.Bottom + m.MenuBar, flags);
}

void TSkinForm::OnNcCalcSize(TMessage& message) {
    Previous(message);
    if (FBorderKind == TBorderKind::Popup) return;
    RECT* first = reinterpret_cast<RECT*>(message.LParam);
    RECT window = *first;
    if (message.WParam) {
        auto params = reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam);
        const WINDOWPOS& pos = *params->lppos;
        window = {pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    }
    const TMetrics& m = FMetrics;
    RECT client{window.left + m.Left, window.top + m.Title + m.MenuBar, window.right - m.Right,
                window.bottom - m.Bottom};
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    *first = client;
    if (message.WParam) {
        auto params = reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam);
        params->rgrc[1] = client;
        message.Result = WVR_VALIDRECTS;
    } else {
        message.Result = 0;
    }
}

void TSkinForm::OnNcHitTest(TMessage& message) {
    Previous(message);
    if (message.Result != HTNOWHERE && message.Result != HTCAPTION) return;
    const POINT p = WindowPoint(
        {static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))});
    if (p.y > 3) message.Result = HTCAPTION;
    if (FMetrics.MenuBar > 0 && p.y > FMetrics.Title) message.Result = HTMENU;
}

void TSkinForm::OnNcActivate(TMessage& message) {
    FActive = message.WParam != 0;
    if (FHoverTimer) FHoverTimer->SetEnabled(FActive);
    PaintFrame();
    message.Result = 1;
}

void TSkinForm::OnNcPaint(TMessage& message) {
    if (FBorderKind == TBorderKind::Popup) return Previous(message);
    PaintFrame();
    message.Result = 0;
}
