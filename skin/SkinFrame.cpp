#include "skin/SkinFrame.h"
#include "classlib/gui/Platform.h"
#include "classlib/gui/WindowText.h"
#include "skin/SkinCaption.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinManage.h"
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
    return MakeSkinBitmap(w, h, b.Bitmap, b.Margins(), vertical, !b.Tile, b.FrameCount,
                          BorderFrame(b, active));
}

// into becomes the w x h picture at the DC's top left.
void KeepPicture(TBitmap& into, HDC from, int w, int h) {
    if (into.Width() != w || into.Height() != h) into.SetSize(w, h);
    BitBlt(into.Canvas().Handle(), 0, 0, w, h, from, 0, 0, SRCCOPY);
}

} // namespace

bool KeepsNativeCaption(DWORD platformId, DWORD major, DWORD minor) {
    return platformId == VER_PLATFORM_WIN32_NT && (major > 5 || (major == 5 && minor >= 1));
}

TSkinFrame::TSkinFrame(TSkinForm& form) : FForm(form) {
    ReadCaptionFont();
}

void TSkinFrame::ReadCaptionFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    FCaptionFont.Reset(CreateFontIndirectW(&metrics.lfCaptionFont));
}

const TSkinData& TSkinFrame::Data() const {
    return *FForm.SkinData();
}

void TSkinFrame::Attach(LONG_PTR style, bool child, SIZE client) {
    FChild = child;
    FAttachClient = client;
    FSavedBits = ((style & WS_SYSMENU) ? sbSysMenu : 0u) |
                 ((style & WS_MINIMIZEBOX) ? sbMinBox : 0u) |
                 ((style & WS_MAXIMIZEBOX) ? sbMaxBox : 0u);
}

void TSkinFrame::Load() {
    FBorders = {};
    if (!Data().SkinReady()) return;
    const auto& borders = Data().Elements().Borders;
    auto across = [](const TDataSkinBorder& b) { return b.Bitmap.Width() / b.FrameCount; };
    auto down = [](const TDataSkinBorder& b) { return b.Bitmap.Height() / b.FrameCount; };
    FMetrics.Left = across(*borders[TSkinElements::bdLeft]);
    FMetrics.Right = across(*borders[TSkinElements::bdRight]);
    FMetrics.Title = down(*borders[TSkinElements::bdTop]);
    FMetrics.Bottom = down(*borders[TSkinElements::bdBottom]);
    if (FForm.BorderKind() == TBorderKind::Popup) FMetrics = {};
    FForm.Caption().Make();
}

void TSkinFrame::ForgetPictures() {
    FTitle.SetSize(0, 0);
    FBorders = {};
}

void TSkinFrame::SetNative(bool restore) {
    if (restore && FChild) return;
    const bool mdiChild = FForm.MDIRole() == TMDIRole::Child;
    if (TSkinManage* manager = SkinManager();
        !restore && mdiChild && manager && manager->MDIMaximized())
        return;
    const LONG_PTR style = GetWindowLongPtrW(FForm.Handle, GWL_STYLE);
    LONG_PTR changed = style;
    if (restore) {
        if (FSavedBits & sbSysMenu) changed |= WS_SYSMENU;
        if (FSavedBits & sbMinBox) changed |= WS_MINIMIZEBOX;
        if (FSavedBits & sbMaxBox) changed |= WS_MAXIMIZEBOX;
        if (FSavedBits & sbCaption) changed |= WS_CAPTION;
    } else {
        const TOSVersion v = OSVersionQuery();
        const bool unowned = (!GetWindow(FForm.Handle, GW_OWNER) && !mdiChild) ||
                             (GetWindowLongPtrW(FForm.Handle, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        if (unowned && !KeepsNativeCaption(v.PlatformId, v.Major, v.Minor)) {
            if ((style & WS_CAPTION) == WS_CAPTION) FSavedBits |= sbCaption;
            changed &= ~WS_CAPTION;
        } else {
            changed &= ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU);
        }
    }
    if (changed != style) SetWindowLongPtrW(FForm.Handle, GWL_STYLE, changed);
}

bool TSkinFrame::Shown() const {
    const TAttachState state = FForm.AttachState();
    return (state == TAttachState::Ready || state == TAttachState::Reapplying) &&
           FForm.BorderKind() != TBorderKind::Popup && FForm.FrameSkinned() &&
           FForm.Placement() != TPlacement::Minimized && FForm.FrameDrawn();
}

const TSkinFrame::TBorders& TSkinFrame::Borders(int w, int h) {
    const bool active = FForm.Active();
    if (FBorders.Left && FBorders.Size.cx == w && FBorders.Size.cy == h &&
        FBorders.Active == active)
        return FBorders;
    const TFrameMetrics& m = FMetrics;
    const int across = w - m.Left - m.Right;
    FBorders = {{w, h},
                active,
                MakeBorder(Data(), TSkinElements::bdLeft, m.Left, h, active),
                MakeBorder(Data(), TSkinElements::bdRight, m.Right, h, active),
                MakeBorder(Data(), TSkinElements::bdTop, across, m.Title, active),
                MakeBorder(Data(), TSkinElements::bdBottom, across, m.Bottom, active)};
    return FBorders;
}

void TSkinFrame::Paint() {
    if (!Shown()) return;
    TWholeWindowDC dc(FForm.Handle);
    RECT r;
    GetWindowRect(FForm.Handle, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const TFrameMetrics& m = FMetrics;
    const TBorders& borders = Borders(w, h);
    BitBlt(dc.Get(), 0, 0, m.Left, h, borders.Left->Canvas().Handle(), 0, 0, SRCCOPY);
    BitBlt(dc.Get(), w - m.Right, 0, m.Right, h, borders.Right->Canvas().Handle(), 0, 0, SRCCOPY);
    BitBlt(dc.Get(), m.Left, h - m.Bottom, w - m.Left - m.Right, m.Bottom,
           borders.Bottom->Canvas().Handle(), 0, 0, SRCCOPY);
    PaintTitle(dc.Get(), borders);
    const RECT bar{m.Left, m.Title, w - m.Right, m.Title + m.MenuBar};
    if (FForm.MenuBar())
        FForm.MenuBar()->Paint(dc.Get(), bar);
    else if (m.MenuBar > 0)
        FillRect(dc.Get(), &bar, Data().ButtonFaceBrush());
    FForm.DropHot();
}

// The title goes to the screen in one copy: borders' tops, the top border, the
// caption text, then the caption buttons.
void TSkinFrame::PaintTitle(HDC dc, const TBorders& borders) {
    const int w = borders.Size.cx, t = FMetrics.Title;
    if (w <= 0 || t <= 0) return;
    FOffscreen.Paint(dc, {0, 0, w, t}, [&](HDC title, const RECT&) {
        BitBlt(title, 0, 0, FMetrics.Left, t, borders.Left->Canvas().Handle(), 0, 0, SRCCOPY);
        BitBlt(title, w - FMetrics.Right, 0, FMetrics.Right, t, borders.Right->Canvas().Handle(), 0,
               0, SRCCOPY);
        BitBlt(title, FMetrics.Left, 0, borders.Top->Width(), t, borders.Top->Canvas().Handle(), 0,
               0, SRCCOPY);
        PaintCaptionText(title, w);
        KeepPicture(FTitleBack, title, w, t);
        FForm.Caption().Layout(w);
        FForm.Caption().Paint(title);
        KeepPicture(FTitle, title, w, t);
    });
}

void TSkinFrame::PaintPart(const RECT& rect, const std::function<void(HDC)>& draw) {
    TWholeWindowDC dc(FForm.Handle);
    FOffscreen.Paint(dc.Get(), rect, [&](HDC buffer, const RECT&) {
        SetViewportOrgEx(buffer, -rect.left, -rect.top, nullptr);
        draw(buffer);
    });
}

void TSkinFrame::PaintOverTitle(const RECT& rect, const std::function<void(HDC)>& draw) {
    const RECT title{0, 0, FTitleBack.Width(), FTitleBack.Height()};
    RECT part;
    if (!IntersectRect(&part, &rect, &title)) return;
    PaintPart(part, [&](HDC buffer) {
        BitBlt(buffer, part.left, part.top, part.right - part.left, part.bottom - part.top,
               FTitleBack.Canvas().Handle(), part.left, part.top, SRCCOPY);
        draw(buffer);
    });
}

void TSkinFrame::PaintCaptionText(HDC dc, int w) {
    TDataSkinTitle& e = *FForm.SkinData()->Elements().Title;
    const TSkinColours& colours = Data().Colours();
    const std::string text = CaptionText();
    TSelectScope font(dc, FCaptionFont.Get());
    SetBkMode(dc, TRANSPARENT);
    TColor colour = FForm.Active() ? e.ActiveTextColor : e.InactiveTextColor;
    if (colour == clNone)
        colour = FForm.Active() ? colours.TitleTextActive : colours.TitleTextNoActive;
    SetTextColor(dc, ColorToRGB(colour));
    const bool rightToLeft = FForm.RightToLeft();
    const UINT format =
        DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | (rightToLeft ? DT_RIGHT : DT_LEFT);
    RECT calc{0, 0, 0, 0};
    SkinDrawText(dc, text, calc, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT); // the whole text
    const int tw = calc.right + e.TXTBackleft + e.TXTBackRight, th = calc.bottom;
    const int t = FMetrics.Title, room = w - FMetrics.Left - FMetrics.Right;
    int x = FMetrics.Left + (e.TextAlignment == 0   ? e.LeftWidth
                             : e.TextAlignment == 1 ? (room - tw) / 2
                                                    : room - e.RightWidth - tw);
    if (rightToLeft) x = FMetrics.Left + room - e.RightWidth - tw; // at the right
    if (FForm.BorderKind() == TBorderKind::Dialog && e.TextAlignment == 0) x -= 16;
    x = std::max(x, FMetrics.Left);
    const int y = (t - th) / 2 + e.TopHeight / 2;
    const bool popup = GetWindowLongPtrW(FForm.Handle, GWL_STYLE) & WS_POPUP;
    const int buttonLeft = FForm.Caption().RightButtonLeft();
    const int clip = popup && buttonLeft >= 6 ? buttonLeft - 5 : w - FMetrics.Right - e.RightWidth;
    FTextRect = {x, y, std::min(x + tw, clip), y + th};
    if (!e.Bitmap.Empty())
        DrawSkinStrip(dc, FTextRect, e.Bitmap, true, true, 2, FForm.Active() ? 1 : 2,
                      {e.TXTBackleft, 0, e.TXTBackRight, 0});
    RECT r = FTextRect;
    r.left += e.TXTBackleft;
    r.right -= e.TXTBackRight;
    if (r.right > r.left) SkinDrawText(dc, text, r, format);
}

void TSkinFrame::UpdateRegion() {
    if (FForm.AttachState() == TAttachState::Gone || !FForm.FrameSkinned() || !FForm.FrameDrawn())
        return;
    RECT r;
    GetWindowRect(FForm.Handle, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    if (FRegionSet && w == FRegionSize.cx && h == FRegionSize.cy &&
        FForm.AttachState() != TAttachState::Reapplying && FForm.MDIRole() != TMDIRole::Child)
        return;
    FRegionSize = {w, h};
    const auto& borders = Data().Elements().Borders;
    const bool keyed =
        std::any_of(borders.begin(), borders.end(), [](const auto& b) { return b->Trans; });
    const TFrameMetrics& m = FMetrics;
    TRegionHandle region(CreateRectRgn(0, 0, w, h));
    if (keyed) {
        region.Reset(CreateRectRgn(m.Left, m.Title, w - m.Right, h - m.Bottom));
        const TBorders& pictures = Borders(w, h);
        auto piece = [&](int n, TBitmap& picture, const RECT& p) {
            const int pw = p.right - p.left, ph = p.bottom - p.top;
            const bool fromTitle =
                n == TSkinElements::bdTop && FTitle.Width() == w && FTitle.Height() == m.Title;
            if (!borders[n]->Trans || pw <= 0 || ph <= 0)
                return TRegionHandle(CreateRectRgn(p.left, p.top, p.right, p.bottom));
            if (fromTitle) return RegionFromBitmap(FTitle, p, {p.left, p.top});
            return RegionFromBitmap(picture, {0, 0, pw, ph}, {p.left, p.top});
        };
        TRegionHandle left = piece(TSkinElements::bdLeft, *pictures.Left, {0, 0, m.Left, h});
        TRegionHandle right =
            piece(TSkinElements::bdRight, *pictures.Right, {w - m.Right, 0, w, h});
        TRegionHandle bottom = piece(TSkinElements::bdBottom, *pictures.Bottom,
                                     {m.Left, h - m.Bottom, w - m.Right, h});
        TRegionHandle top =
            piece(TSkinElements::bdTop, *pictures.Top, {m.Left, 0, w - m.Right, m.Title});
        auto unite = [](TRegionHandle& into, const TRegionHandle& other) {
            CombineRgn(into.Get(), into.Get(), other.Get(), RGN_OR);
        };
        unite(left, right);
        unite(top, bottom);
        unite(top, left);
        unite(region, top);
    }
    // The system owns the region from here on (Wine deletes the handle at once).
    SetWindowRgn(FForm.Handle, region.Release(), TRUE);
    FRegionSet = true;
}

void TSkinFrame::ClearRegion() {
    if (!FRegionSet) return;
    FTitle.SetSize(0, 0);
    SetWindowRgn(FForm.Handle, nullptr, FForm.MDIRole() == TMDIRole::Child);
    FRegionSet = false;
    FRegionSize = {0, 0};
}

// The window grows or shrinks so that its client area keeps its size inside the
// skinned frame: the real client rectangle, whatever frame the window had (at
// activation the one it had before its native menu bar went). The client area moves
// within the window: what it showed is painted again, never copied to the new place
// (controls without a window of their own would keep the old picture).
void TSkinFrame::KeepClientSize() {
    UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOCOPYBITS;
    if (FForm.AttachState() == TAttachState::Reapplying || !IsWindowVisible(FForm.Handle))
        flags |= SWP_NOACTIVATE;
    if (FForm.Placement() == TPlacement::Maximized) {
        SetWindowPos(FForm.Handle, nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE);
        return;
    }
    RECT client;
    GetClientRect(FForm.Handle, &client);
    if (FForm.AttachState() == TAttachState::KeepingSize)
        client = {0, 0, FAttachClient.cx, FAttachClient.cy};
    const TFrameMetrics& m = FMetrics;
    int width = client.right + m.Left + m.Right;
    if (FForm.DialogClass() && FForm.AttachState() == TAttachState::KeepingSize)
        width = WidenForCaption(width);
    SetWindowPos(FForm.Handle, nullptr, 0, 0, width, client.bottom + m.Title + m.Bottom + m.MenuBar,
                 flags);
}

// A dialog narrower than its caption is widened to show it whole; its controls move
// by half the growth.
int TSkinFrame::WidenForCaption(int width) const {
    const TDataSkinTitle& e = *Data().Elements().Title;
    TWindowDC screen(nullptr);
    TSelectScope font(screen.Get(), FCaptionFont.Get());
    RECT calc{0, 0, 0, 0};
    SkinDrawText(screen.Get(), CaptionText(), calc, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    const int needed = e.LeftWidth + calc.right + e.RightWidth;
    if (width >= needed) return width;
    const int shift = (needed - width) / 2;
    for (HWND child = GetTopWindow(FForm.Handle); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, FForm.Handle, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return needed;
}

std::string TSkinFrame::CaptionText() const {
    return "  " + GetWindowTextStr(FForm.Handle) + " ";
}

void TSkinFrame::OnNcCalcSize(TMessage& message) {
    FForm.CallPrevious(message);
    if (FForm.BorderKind() == TBorderKind::Popup) return;
    RECT* first = reinterpret_cast<RECT*>(message.LParam);
    RECT window = *first;
    if (message.WParam) {
        auto params = reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam);
        const WINDOWPOS& pos = *params->lppos;
        window = {pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    }
    const TFrameMetrics& m = FMetrics;
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

void TSkinFrame::OnNcHitTest(TMessage& message) {
    FForm.CallPrevious(message);
    if (message.Result != HTNOWHERE && message.Result != HTCAPTION) return;
    const POINT p = FForm.WindowPoint(
        {static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))});
    if (p.y > 3) message.Result = HTCAPTION;
    if (FMetrics.MenuBar > 0 && p.y > FMetrics.Title) message.Result = HTMENU;
}

void TSkinFrame::OnNcPaint(TMessage& message) {
    message.Result = 0;
    if (!Data().FramePainting) return;
    if (FForm.BorderKind() == TBorderKind::Popup) return FForm.CallPrevious(message);
    Paint();
    message.Result = 0;
}
