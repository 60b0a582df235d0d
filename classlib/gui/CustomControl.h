#pragma once
// TCustomControl: a windowed control of the library's own class that paints itself
// on a canvas (Paint), with its graphic children painted over it.
#include "classlib/gui/GraphicControl.h"
#include "classlib/gui/WinControl.h"

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    TCanvas& Canvas() { return FCanvas; }

protected:
    void WndProc(TMessage& message) override;
    void PaintWindow(HDC dc) override;
    virtual void Paint() {}

private:
    TControlCanvas FCanvas;
};
