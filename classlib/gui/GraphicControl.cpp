#include "classlib/gui/GraphicControl.h"

void TControlCanvas::CreateHandle() {
    if (!FMeasureDC) FMeasureDC.Reset(CreateCompatibleDC(nullptr));
    SetHandle(FMeasureDC.Get());
}

void TControlCanvas::PaintOn(HDC dc, const std::function<void()>& paint) {
    SetHandle(dc);
    try {
        paint();
    } catch (...) {
        SetHandle(nullptr);
        throw;
    }
    SetHandle(nullptr);
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {
    FClickOnMouseUp = true;
    FCanvas.Font().Assign(Font());
}

void TGraphicControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT: WMPaint(message); break;
    case CM_FONTCHANGED: CMFontChanged(message); break;
    default: TControl::WndProc(message); break;
    }
}

void TGraphicControl::WMPaint(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (!dc) return;
    FCanvas.PaintOn(dc, [this] { Paint(); });
}

void TGraphicControl::CMFontChanged(TMessage& message) {
    (void)message;
    FCanvas.Font().Assign(Font());
    Invalidate();
}
