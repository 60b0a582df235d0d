#pragma once
// TGraphicControl: a control without a window, painted by its parent: the parent's
// WM_PAINT reaches it through its WindowProc with the DC in wParam, the origin at the
// control's top left and the clip set to its bounds. Main thread only.
#include "classlib/base/Handle.h"
#include "classlib/gui/Controls.h"
#include <functional>

// A canvas for a control: the paint DC while painting, otherwise a memory DC
// compatible with the screen (for measuring text).
class TControlCanvas : public TCanvas {
public:
    // Lends the canvas `dc` while `paint` runs.
    void PaintOn(HDC dc, const std::function<void()>& paint);

protected:
    void CreateHandle() override;

private:
    TMemoryDC FMeasureDC;
};

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    TCanvas& Canvas() { return FCanvas; }

protected:
    void WndProc(TMessage& message) override;
    virtual void Paint() {}
    void WMPaint(TMessage& message);
    void CMFontChanged(TMessage& message);

private:
    TControlCanvas FCanvas;
};
