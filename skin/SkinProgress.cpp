#include "skin/SkinProgress.h"
#include "skin/ImageUtils.h"
#include "skin/SkinData.h"
#include <algorithm>

int ProgressFillLength(int length, int position, int lower, int upper) {
    if (length <= 0 || upper <= lower) return 0;
    const int64_t range = int64_t(upper) - lower;
    const int64_t done = std::clamp<int64_t>(int64_t(position) - lower, 0, range);
    return static_cast<int>((done * length + range / 2) / range);
}

bool TSkinProgress::CanPaint() const {
    const auto& e = SkinData()->Elements().Progress;
    return e && !e->Bitmap.Empty() && (e->Style != 1 || !e->Bitmap2.Empty());
}

bool TSkinProgress::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        if (!CanPaint()) break; // the native bar paints itself
        WmPaint(message);
        message.Result = 0;
        return false;
    case WM_ERASEBKGND:
        if (!CanPaint()) break;
        message.Result = 1;
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinProgress::Draw(HDC dc, const RECT& rect) {
    if (!CanPaint()) return;
    const int position = static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0));
    PBRANGE range{};
    SendMessageW(Handle(), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    if (SkinData()->Elements().Progress->Style == 1)
        DrawChunks(dc, rect, position, range);
    else
        DrawBar(dc, rect, position, range);
}

// Composed lying horizontally; a vertical bar is turned so that it fills upwards.
void TSkinProgress::DrawBar(HDC dc, const RECT& rect, int position, const PBRANGE& range) {
    TDataSkinBorder& e = *SkinData()->Elements().Progress;
    const bool vertical = Style() & PBS_VERTICAL;
    int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (vertical) std::swap(w, h);
    if (w <= 0 || h <= 0) return;
    TBitmap buffer;
    HDC b = FilledBuffer(buffer, w, h);
    DrawSkinRect(b, {0, 0, w, h}, e.Bitmap, false, e.Tile == 1, true, 2, 1, e.Margins());
    if (int filled = ProgressFillLength(w, position, range.iLow, range.iHigh); filled > 0)
        DrawSkinRect(b, {0, 0, filled, h}, e.Bitmap, false, e.Tile == 1, true, 2, 2, e.Margins());
    if (vertical) RotateBitmapCCW(buffer);
    BitBlt(dc, rect.left, rect.top, buffer.Width(), buffer.Height(), buffer.Canvas().Handle(), 0, 0,
           SRCCOPY);
}

// Chunks side by side from the left margin; the filled strip ends at the right margin.
void TSkinProgress::DrawChunks(HDC dc, const RECT& rect, int position, const PBRANGE& range) {
    TDataSkinBorder& e = *SkinData()->Elements().Progress;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    TBitmap buffer;
    HDC b = FilledBuffer(buffer, w, h);
    DrawSkinRect(b, {0, 0, w, h}, e.Bitmap, false, e.Tile == 1, true, 1, 1, e.Margins());
    const int inner = w - e.LeftWidth - e.RightWidth;
    const int filled = ProgressFillLength(inner, position, range.iLow, range.iHigh);
    TBitmap& chunk = e.Bitmap2;
    if (filled > 0) {
        TBitmap strip;
        strip.SetSize(filled, chunk.Height());
        for (int x = 0; x < filled; x += chunk.Width())
            BitBlt(strip.Canvas().Handle(), x, 0, chunk.Width(), chunk.Height(),
                   chunk.Canvas().Handle(), 0, 0, SRCCOPY);
        const int top = (h - chunk.Height()) / 2;
        TransparentBlit(b, {e.LeftWidth, top, e.LeftWidth + filled, top + chunk.Height()}, strip);
    }
    BitBlt(dc, rect.left, rect.top, w, h, b, 0, 0, SRCCOPY);
}

bool TSkinTrackBar::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND: message.Result = 1; return false;
    case WM_NOTIFY:
    case CN_NOTIFY: {
        const auto* draw = reinterpret_cast<const NMCUSTOMDRAW*>(message.LParam);
        if (draw->hdr.code != NM_CUSTOMDRAW) break;
        message.Result = CustomDraw(*draw);
        return false;
    }
    }
    return TSkinControl::BeforeMessage(message);
}

// Only the thumb is skinned, always from frame 2; the channel and tics stay native.
LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& draw) {
    if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.dwDrawStage != CDDS_ITEMPREPAINT || draw.dwItemSpec != TBCD_THUMB)
        return CDRF_DODEFAULT;
    RECT thumb{};
    SendMessageW(Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const auto& thumbs = SkinData()->Elements().TrackbarThumbs;
    TDataSkinObject* element = thumbs[TSkinElements::tbHorz].get();
    const auto& vert = thumbs[TSkinElements::tbVert];
    if ((Style() & TBS_VERT) && vert && !vert->Bitmap.Empty()) element = vert.get();
    if (element && !element->Bitmap.Empty()) {
        DrawSkinFrame(draw.hdc, thumb, element->Bitmap, true, element->FrameCount, 2);
        return CDRF_SKIPDEFAULT;
    }
    TGdiObject pen(CreatePen(PS_SOLID, 1, ColorToRGB(SkinData()->Colours().ButtonShadow)));
    TSelectScope usePen(draw.hdc, pen.Get()), useBrush(draw.hdc, SkinData()->ButtonFaceBrush());
    Rectangle(draw.hdc, thumb.left, thumb.top, thumb.right, thumb.bottom);
    return CDRF_SKIPDEFAULT;
}
