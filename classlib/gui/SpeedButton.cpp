#include "classlib/gui/SpeedButton.h"
#include "classlib/gui/TypInfo.h"
#include <algorithm>

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TSpeedButton>({
    Published("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat),
    Published("Down", &TSpeedButton::Down, &TSpeedButton::SetDown),
    Published("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs),
});

} // namespace

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    FWidth = 23;
    FHeight = 22;
}

void TSpeedButton::SetFlat(bool value) {
    FFlat = value;
    Invalidate();
}

void TSpeedButton::SetDown(bool value) {
    FDown = value;
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int value) {
    FNumGlyphs = std::max(1, value);
    Invalidate();
}

void TSpeedButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_MOUSEENTER:
        FHot = true;
        Invalidate();
        break;
    case CM_MOUSELEAVE:
        FHot = false;
        Invalidate();
        break;
    case WM_LBUTTONDOWN:
        FPressed = true;
        Invalidate();
        break;
    case WM_LBUTTONUP:
        FPressed = false;
        Invalidate();
        break;
    default: break;
    }
    TGraphicControl::WndProc(message);
}

void TSpeedButton::Paint() {
    TCanvas& canvas = Canvas();
    RECT r = ClientRect();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    bool sunken = FDown || (FPressed && FHot);
    if (sunken)
        DrawEdge(canvas.Handle(), &r, FFlat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    else if (!FFlat || (FHot && Enabled()))
        DrawEdge(canvas.Handle(), &r, FFlat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
    int shift = sunken ? 1 : 0;
    int glyphWidth = FGlyph.Empty() ? 0 : FGlyph.Width() / FNumGlyphs;
    std::string caption = Caption();
    RECT text{0, 0, 0, 0};
    if (!caption.empty()) canvas.DrawText(caption, text, DT_SINGLELINE | DT_CALCRECT);
    int gap = glyphWidth && text.right ? GlyphGap : 0;
    int x = (FWidth - glyphWidth - gap - text.right) / 2 + shift;
    int frame = !Enabled() && FNumGlyphs > 1 ? 1 : 0; // up, disabled
    if (glyphWidth)
        DrawGlyphFrame(canvas, FGlyph, FNumGlyphs, frame, x,
                       (FHeight - FGlyph.Height()) / 2 + shift);
    if (caption.empty()) return;
    canvas.Brush().SetStyle(bsClear);
    if (!Enabled()) canvas.Font().SetColor(clGrayText);
    OffsetRect(&text, x + glyphWidth + gap, (FHeight - text.bottom) / 2 + shift);
    canvas.DrawText(caption, text, DT_SINGLELINE);
    canvas.Font().SetColor(Font().Color());
}
