#pragma once
// TSkinProgress paints progress bars from the skin's "Progress" element (frame 1 the
// empty bar, frame 2 the filled part; style 1 fills with the "Chunk" picture instead).
// TSkinTrackBar answers the track bar's custom-draw notification and paints its thumb
// from "Trackbar.ThumbHorz" or "Trackbar.ThumbVert"; a skin change repaints it and
// leaves the keyboard focus where it is. Main thread.
#include "skin/SkinControl.h"
#include <commctrl.h>

// The filled part of a bar `length` pixels long: (position - lower) / (upper - lower),
// rounded, within 0..length; 0 for an empty range.
int ProgressFillLength(int length, int position, int lower, int upper);

class TSkinProgress : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    [[nodiscard]] bool CanPaint() const;
    void DrawBar(HDC dc, const RECT& rect, int position, const PBRANGE& range);
    void DrawChunks(HDC dc, const RECT& rect, int position, const PBRANGE& range);
};

class TSkinTrackBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    bool BeforeMessage(TMessage& message) override;

private:
    LRESULT CustomDraw(const NMCUSTOMDRAW& draw);
};
