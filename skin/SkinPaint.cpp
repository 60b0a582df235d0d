#include "skin/SkinPaint.h"
#include "skin/ImageUtils.h"
#include <algorithm>
#include <climits>
#include <vector>

namespace {

// Stretching keeps whole pixels (COLORONCOLOR): interpolation would blend the key
// colour into its neighbours and leave pink fringes that no longer count as key.
void Stretch(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
    StretchBlt(dst, x, y, w, h, src, sx, sy, sw, sh, SRCCOPY);
}

RECT FrameRect(TBitmap& source, bool vertical, int frames, int frame) {
    frames = std::max(frames, 1);
    frame = std::clamp(frame, 1, frames);
    if (vertical) {
        int fh = source.Height() / frames;
        return {0, (frame - 1) * fh, source.Width(), frame * fh};
    }
    int fw = source.Width() / frames;
    return {(frame - 1) * fw, 0, frame * fw, source.Height()};
}

// The frame's nine slices drawn into dst at (x, y), w x h; margins that do not fit are
// dropped in pairs.
void DrawNineSlice(HDC dst, int x, int y, int w, int h, TBitmap& source, TSkinMargins m,
                   bool vertical, bool tile, int frames, int frame) {
    const RECT f = FrameRect(source, vertical, frames, frame);
    const int fw = f.right - f.left, fh = f.bottom - f.top;
    if (m.Left + m.Right > w || m.Left + m.Right > fw) m.Left = m.Right = 0;
    if (m.Top + m.Bottom > h || m.Top + m.Bottom > fh) m.Top = m.Bottom = 0;
    HDC src = source.Canvas().Handle();
    const int mw = fw - m.Left - m.Right, mh = fh - m.Top - m.Bottom; // the frame's middle
    const int tw = w - m.Left - m.Right, th = h - m.Top - m.Bottom;   // the target's middle
    const int x0 = f.left, y0 = f.top, r = x + w - m.Right, b = y + h - m.Bottom;
    Stretch(dst, x, y, m.Left, m.Top, src, x0, y0, m.Left, m.Top);
    Stretch(dst, x, b, m.Left, m.Bottom, src, x0, y0 + fh - m.Bottom, m.Left, m.Bottom);
    Stretch(dst, r, y, m.Right, m.Top, src, x0 + fw - m.Right, y0, m.Right, m.Top);
    Stretch(dst, x, y + m.Top, m.Left, th, src, x0, y0 + m.Top, m.Left, mh);
    Stretch(dst, x + m.Left, y, tw, m.Top, src, x0 + m.Left, y0, mw, m.Top);
    if (tile && mw > 0 && mh > 0) {
        for (int ty = y + m.Top; ty < b; ty += mh)
            for (int tx = x + m.Left; tx < r; tx += mw)
                BitBlt(dst, tx, ty, std::min(mw, r - tx), std::min(mh, b - ty), src, x0 + m.Left,
                       y0 + m.Top, SRCCOPY);
    } else {
        Stretch(dst, x + m.Left, y + m.Top, tw, th, src, x0 + m.Left, y0 + m.Top, mw, mh);
    }
    Stretch(dst, r, b, m.Right, m.Bottom, src, x0 + fw - m.Right, y0 + fh - m.Bottom, m.Right,
            m.Bottom);
    Stretch(dst, r, y + m.Top, m.Right, th, src, x0 + fw - m.Right, y0 + m.Top, m.Right, mh);
    Stretch(dst, x + m.Left, b, tw, m.Bottom, src, x0 + m.Left, y0 + fh - m.Bottom, mw, m.Bottom);
}

// Slices left uncovered stay black, as on a new bitmap.
template <class F> void DrawClipped(HDC dc, const RECT& rect, F&& draw) {
    TSavedDC state(dc);
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    SetStretchBltMode(dc, COLORONCOLOR);
    PatBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, BLACKNESS);
    draw(dc, rect.left, rect.top);
}

// Drawn straight into dc when opaque; a transparent picture is composed first in a
// program-long scratch bitmap and copied with the key colour left out.
template <class F> void Output(HDC dc, const RECT& rect, bool transparent, F&& draw) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    if (!transparent) return DrawClipped(dc, rect, draw);
    static TBitmap* scratch = new TBitmap; // lives as long as the program
    if (scratch->Width() < w || scratch->Height() < h)
        scratch->SetSize(std::max(w, scratch->Width()), std::max(h, scratch->Height()));
    HDC s = scratch->Canvas().Handle();
    DrawClipped(s, {0, 0, w, h}, draw);
    TransparentBlt(dc, rect.left, rect.top, w, h, s, 0, 0, w, h, SkinKeyColor);
}

} // namespace

std::unique_ptr<TBitmap> MakeSkinBitmap(int w, int h, TBitmap& source, TSkinMargins m,
                                        bool vertical, bool tile, int frames, int frame) {
    auto result = std::make_unique<TBitmap>();
    result->SetSize(w, h);
    if (result->Empty() || source.Empty()) return result;
    HDC dst = result->Canvas().Handle();
    SetStretchBltMode(dst, COLORONCOLOR);
    DrawNineSlice(dst, 0, 0, w, h, source, m, vertical, tile, frames, frame);
    return result;
}

void DrawSkinRect(HDC dc, const RECT& rect, TBitmap& source, bool vertical, bool tile,
                  bool transparent, int frames, int frame, TSkinMargins margins) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    Output(dc, rect, transparent, [&](HDC dst, int x, int y) {
        if (!source.Empty())
            DrawNineSlice(dst, x, y, w, h, source, margins, vertical, tile, frames, frame);
    });
}

void DrawSkinFrame(HDC dc, const RECT& rect, TBitmap& source, bool transparent, int frames,
                   int frame) {
    DrawSkinRect(dc, rect, source, false, false, transparent, frames, frame, {});
}

void DrawSkinFrameTransparent(HDC dc, const RECT& rect, TBitmap& source, int frames, int frame) {
    if (source.Empty()) return;
    const RECT f = FrameRect(source, false, frames, frame);
    const int fw = f.right - f.left, fh = f.bottom - f.top;
    if (fw <= 0) return;
    const int x = rect.left + (rect.right - rect.left - fw) / 2;
    const int y = rect.top + (rect.bottom - rect.top - fh) / 2;
    TransparentBlt(dc, x, y, fw, fh, source.Canvas().Handle(), f.left, f.top, fw, fh, SkinKeyColor);
}

void TransparentBlit(HDC dc, const RECT& rect, TBitmap& bitmap, COLORREF key) {
    const int w = std::min<int>(rect.right - rect.left, bitmap.Width());
    const int h = std::min<int>(rect.bottom - rect.top, bitmap.Height());
    if (w <= 0 || h <= 0) return;
    TransparentBlt(dc, rect.left, rect.top, w, h, bitmap.Canvas().Handle(), 0, 0, w, h, key);
}

void DrawSkinStrip(HDC dc, const RECT& rect, TBitmap& source, bool vertical, bool transparent,
                   int frames, int frame, TSkinMargins m) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (source.Empty()) return;
    const RECT f = FrameRect(source, vertical, frames, frame);
    const int fh = f.bottom - f.top, middle = f.right - f.left - m.Left - m.Right;
    HDC src = source.Canvas().Handle();
    Output(dc, rect, transparent, [&](HDC dst, int x, int y) {
        Stretch(dst, x, y, m.Left, h, src, f.left, f.top, m.Left, fh);
        // A middle of no width is never repeated.
        if (middle > 0)
            for (int i = m.Left; i < w - m.Right; i += middle)
                Stretch(dst, x + i, y, std::min(middle, w - m.Right - i), h, src, f.left + m.Left,
                        f.top, std::min(middle, w - m.Right - i), fh);
        Stretch(dst, x + w - m.Right, y, m.Right, h, src, f.right - m.Right, f.top, m.Right, fh);
    });
}

TRegionHandle RegionFromBitmap(TBitmap& bitmap, const RECT& area, POINT offset, COLORREF key) {
    TRegionHandle result(CreateRectRgn(0, 0, 0, 0));
    const int r0 = GetRValue(key), g0 = GetGValue(key), b0 = GetBValue(key);
    auto isKey = [&](uint32_t c) { // 0x00RRGGBB
        const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
        return r >= r0 && r <= std::min(r0 + 1, 255) && g >= g0 && g <= std::min(g0 + 1, 255) &&
               b >= b0 && b <= std::min(b0 + 1, 255);
    };
    std::vector<RECT> rects;
    auto flush = [&] {
        if (rects.empty()) return;
        std::vector<char> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
        auto data = reinterpret_cast<RGNDATA*>(buffer.data());
        data->rdh = {sizeof(RGNDATAHEADER),
                     RDH_RECTANGLES,
                     static_cast<DWORD>(rects.size()),
                     0,
                     {INT_MAX, INT_MAX, INT_MIN, INT_MIN}};
        for (const RECT& r : rects) {
            RECT& bound = data->rdh.rcBound;
            bound = {std::min(bound.left, r.left), std::min(bound.top, r.top),
                     std::max(bound.right, r.right), std::max(bound.bottom, r.bottom)};
        }
        std::copy(rects.begin(), rects.end(), reinterpret_cast<RECT*>(data->Buffer));
        TRegionHandle part(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
        CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
        rects.clear();
    };
    GdiFlush();
    const int right = std::min<int>(area.right, bitmap.Width());
    const int bottom = std::min<int>(area.bottom, bitmap.Height());
    for (int y = std::max<int>(area.top, 0); y < bottom; ++y) {
        const uint32_t* row = bitmap.ScanLine(y);
        for (int x = std::max<int>(area.left, 0); x < right;) {
            if (isKey(row[x])) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < right && !isKey(row[x]))
                ++x;
            const int dx = offset.x - area.left, dy = offset.y - area.top;
            rects.push_back({start + dx, y + dy, x + dx, y + dy + 1});
            if (rects.size() == 2000) flush(); // ExtCreateRegion takes them in batches
        }
    }
    flush();
    return result;
}

HDC TOffscreen::Prepare(const RECT& area, TTurn turn) {
    const int w = area.right, h = area.bottom;
    if (turn != TTurn::None)
        FBitmap.SetSize(w, h); // turned whole: no room around it
    else if (FBitmap.Width() < w || FBitmap.Height() < h)
        FBitmap.SetSize(std::max(w, FBitmap.Width()), std::max(h, FBitmap.Height()));
    return FBitmap.Canvas().Handle();
}

void TOffscreen::Copy(HDC dc, const RECT& rect, TTurn turn) {
    if (turn == TTurn::Left) RotateBitmapCCW(FBitmap);
    if (turn == TTurn::Right) RotateBitmapCW(FBitmap);
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
           FBitmap.Canvas().Handle(), 0, 0, SRCCOPY);
}
