#pragma once
// The bitmap routines every skinned painter uses: a frame of a multi-frame skin
// picture cut out and scaled by nine slices, drawn opaque or with the magenta key
// colour left out. Frames are numbered from 1. Main thread.
#include "classlib/gui/Bitmap.h"
#include <memory>

constexpr COLORREF SkinKeyColor = 0xFF00FF;

// A stock brush: WHITE_BRUSH, NULL_BRUSH, ...
inline HBRUSH StockBrush(int which) {
    return static_cast<HBRUSH>(GetStockObject(which));
}
// The brush selected into dc.
inline HBRUSH CurrentBrush(HDC dc) {
    return static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
}

// Fixed margins of a frame: left, top, right and bottom widths.
struct TSkinMargins {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Frame `frame` of `frames` (stacked when vertical, else side by side) scaled to
// w x h: corners kept, edges stretched, the middle tiled or stretched. Margins that
// do not fit are dropped in pairs.
std::unique_ptr<TBitmap> MakeSkinBitmap(int w, int h, TBitmap& source, TSkinMargins margins,
                                        bool vertical, bool tile, int frames, int frame);
void DrawSkinRect(HDC dc, const RECT& rect, TBitmap& source, bool vertical, bool tile,
                  bool transparent, int frames, int frame, TSkinMargins margins);
// Frame n (side by side) stretched to the rectangle.
void DrawSkinFrame(HDC dc, const RECT& rect, TBitmap& source, bool transparent, int frames,
                   int frame);
// Frame n at its own size, centred in the rectangle, key colour left out.
void DrawSkinFrameTransparent(HDC dc, const RECT& rect, TBitmap& source, int frames, int frame);
// Three slices of frame n: the left and right margins kept, the middle repeated.
void DrawSkinStrip(HDC dc, const RECT& rect, TBitmap& source, bool vertical, bool transparent,
                   int frames, int frame, TSkinMargins margins);
// The region of the area's pixels that are not the key colour (each channel within
// one of it), moved by offset. The caller owns it.
TRegionHandle RegionFromBitmap(TBitmap& bitmap, const RECT& area, POINT offset,
                               COLORREF key = SkinKeyColor);
// The whole bitmap at the rectangle's top-left, every key-colour pixel left out.
void TransparentBlit(HDC dc, const RECT& rect, TBitmap& bitmap, COLORREF key = SkinKeyColor);

// A quarter turn given to a picture composed lying: counter-clockwise or clockwise.
enum class TTurn { None, Left, Right };

// The off-screen picture one window composes its paint in, kept between paints and
// grown when a paint needs more room, so that a repaint makes no bitmap.
class TOffscreen {
public:
    // paint(buffer DC, area) draws the rectangle's picture at (0, 0); it is then copied
    // to dc at the rectangle's top left. A turned picture is composed with width and
    // height swapped. Nothing for an empty rectangle; the DC's state is undone after.
    template <class F> void Paint(HDC dc, const RECT& rect, F&& paint, TTurn turn = TTurn::None) {
        const int w = rect.right - rect.left, h = rect.bottom - rect.top;
        if (w <= 0 || h <= 0) return;
        const RECT area = turn == TTurn::None ? RECT{0, 0, w, h} : RECT{0, 0, h, w};
        HDC buffer = Prepare(area, turn);
        {
            TSavedDC state(buffer);
            paint(buffer, area);
        }
        Copy(dc, rect, turn);
    }

private:
    HDC Prepare(const RECT& area, TTurn turn);
    void Copy(HDC dc, const RECT& rect, TTurn turn);

    TBitmap FBitmap;
};
