#include "classlib/gui/Panel.h"

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
    FWidth = 185;
    FHeight = 41;
}

void TPanel::SetBevelOuter(TPanelBevel value) {
    FBevelOuter = value;
    Invalidate();
}

void TPanel::PaintWindow(HDC dc) {
    if (FBevelOuter == bvNone) return;
    RECT r = ClientRect();
    DrawEdge(dc, &r, FBevelOuter == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
}

TFrame::TFrame(TComponent* owner) : TWinControl(owner) {
    FWidth = 320;
    FHeight = 240;
}
