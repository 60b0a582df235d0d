#include "classlib/gui/Panel.h"
#include "classlib/gui/TypInfo.h"

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TPanel>({
    Published("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter,
              {"bvNone", "bvLowered", "bvRaised"}),
    Published("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth),
    Published("ParentBackground", &TPanel::ParentBackground, &TPanel::SetParentBackground),
});

} // namespace

TPanel::TPanel(TComponent* owner) : TCustomPanel(owner) {
    FWidth = 185;
    FHeight = 41;
    FClickOnMouseUp = true;
}

void TPanel::WndProc(TMessage& message) {
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1; // Paint fills the whole client area
        return;
    }
    TCustomControl::WndProc(message);
    if (message.Msg == CM_TEXTCHANGED) Invalidate();
}

void TPanel::Paint() {
    TCanvas& canvas = Canvas();
    RECT r = ClientRect();
    TColor background = FParentBackground && Parent() ? Parent()->Color() : Color();
    canvas.Brush().SetColor(background);
    canvas.FillRect(r);
    if (FBevelOuter != bvNone)
        DrawEdge(canvas.Handle(), &r, FBevelOuter == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER,
                 BF_RECT);
    InflateRect(&r, -1 - FBorderWidth, -1 - FBorderWidth);
    canvas.Brush().SetStyle(bsClear);
    canvas.DrawText(Caption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}

void TPanel::AdjustClientRect(RECT& rect) {
    int inset = (FBevelOuter != bvNone ? 1 : 0) + FBorderWidth;
    InflateRect(&rect, -inset, -inset);
}

void TPanel::SetBevelOuter(TBevelCut value) {
    FBevelOuter = value;
    Realign();
    Invalidate();
}

void TPanel::SetBorderWidth(int value) {
    FBorderWidth = value;
    Realign();
    Invalidate();
}

void TPanel::SetParentBackground(bool value) {
    FParentBackground = value;
    Invalidate();
}
