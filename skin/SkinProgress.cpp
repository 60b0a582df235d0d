#include "skin/SkinProgress.h"
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
    return e && !e->Bitmap.Empty() && (e->Style != TProgressStyle::Chunks || !e->Bitmap2.Empty());
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
    if (SkinData()->Elements().Progress->Style == TProgressStyle::Chunks)
        DrawChunks(dc, rect, position, range);
    else
        DrawBar(dc, rect, position, range);
}

// Composed lying horizontally; a vertical bar is turned so that it fills upwards.
void TSkinProgress::DrawBar(HDC dc, const RECT& rect, int position, const PBRANGE& range) {
    TDataSkinProgress& e = *SkinData()->Elements().Progress;
    const bool vertical = Style() & PBS_VERTICAL;
    auto paint = [&](HDC b, const RECT& area) {
        FillSkinColour(b, area);
        DrawSkinRect(b, area, e.Bitmap, false, e.Tile, true, 2, 1, e.Margins());
        if (int filled = ProgressFillLength(area.right, position, range.iLow, range.iHigh);
            filled > 0)
            DrawSkinRect(b, {0, 0, filled, area.bottom}, e.Bitmap, false, e.Tile, true, 2, 2,
                         e.Margins());
    };
    FOffscreen.Paint(dc, rect, paint, vertical ? TTurn::Left : TTurn::None);
}

// Chunks side by side from the left margin; the filled strip ends at the right margin.
void TSkinProgress::DrawChunks(HDC dc, const RECT& rect, int position, const PBRANGE& range) {
    TDataSkinProgress& e = *SkinData()->Elements().Progress;
    FOffscreen.Paint(dc, rect, [&](HDC b, const RECT& area) {
        FillSkinColour(b, area);
        DrawSkinRect(b, area, e.Bitmap, false, e.Tile, true, 1, 1, e.Margins());
        const int inner = area.right - e.LeftWidth - e.RightWidth;
        const int filled = ProgressFillLength(inner, position, range.iLow, range.iHigh);
        const TBitmap& chunk = e.Bitmap2;
        if (filled <= 0) return;
        const int top = (area.bottom - chunk.Height()) / 2;
        DrawSkinStrip(b, {e.LeftWidth, top, e.LeftWidth + filled, top + chunk.Height()}, e.Bitmap2,
                      false, true, 1, 1, {});
    });
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
    TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(SkinData()->Colours().ButtonShadow)));
    TSelectScope usePen(draw.hdc, pen.Get()), useBrush(draw.hdc, SkinData()->ButtonFaceBrush());
    Rectangle(draw.hdc, thumb.left, thumb.top, thumb.right, thumb.bottom);
    return CDRF_SKIPDEFAULT;
}
