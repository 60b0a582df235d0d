#include "classlib/gui/GroupBox.h"

TGroupBox::TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {
    FWidth = 185;
    FHeight = 105;
}

void TGroupBox::WndProc(TMessage& message) {
    TCustomControl::WndProc(message);
    if (message.Msg == CM_TEXTCHANGED) Invalidate();
}

void TGroupBox::Paint() {
    TCanvas& canvas = Canvas();
    RECT r = ClientRect();
    int textHeight = canvas.TextHeight("0");
    RECT frame{r.left, r.top + textHeight / 2, r.right, r.bottom};
    DrawEdge(canvas.Handle(), &frame, EDGE_ETCHED, BF_RECT);
    std::string caption = Caption();
    if (caption.empty()) return;
    RECT text{8, 0, 0, 0};
    canvas.DrawText(caption, text, DT_SINGLELINE | DT_CALCRECT);
    canvas.Brush().SetColor(Color());
    canvas.DrawText(caption, text, DT_SINGLELINE);
}

void TGroupBox::AdjustClientRect(RECT& rect) {
    int textHeight = Canvas().TextHeight("0");
    rect.top += textHeight;
    InflateRect(&rect, -2, -2);
}
