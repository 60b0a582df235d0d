#include "classlib/gui/SpeedButton.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Graphics.h"
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
    (void)Font().Handle(); // see CM_FONTCHANGED
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
    // A skin draws the caption with the font's handle: it is made with the font, not
    // at the first paint, so the objects a button holds do not depend on its paints.
    if (message.Msg == CM_FONTCHANGED) (void)Font().Handle();
}

// The brush and font are made for the paint and freed with it: a button keeps no GDI
// objects between paints, whatever state it was last painted in.
void TSpeedButton::Paint() {
    TCanvas& canvas = Canvas();
    HDC dc = canvas.Handle();
    RECT r = ClientRect();
    TBrush face;
    face.SetColor(Color());
    FillRect(dc, &r, static_cast<HBRUSH>(face.Handle()));
    bool sunken = FDown || (FPressed && FHot);
    if (sunken)
        DrawEdge(dc, &r, FFlat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    else if (!FFlat || (FHot && Enabled()))
        DrawEdge(dc, &r, FFlat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
    int shift = sunken ? 1 : 0;
    int glyphWidth = FGlyph.Empty() ? 0 : FGlyph.Width() / FNumGlyphs;
    const std::wstring caption = ToWide(Caption());
    TFont font;
    font.Assign(Font());
    TSelectScope selectFont(dc, font.Handle());
    RECT text{0, 0, 0, 0};
    if (!caption.empty())
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_SINGLELINE | DT_CALCRECT);
    int gap = glyphWidth && text.right ? GlyphGap : 0;
    int x = (FWidth - glyphWidth - gap - text.right) / 2 + shift;
    int frame = !Enabled() && FNumGlyphs > 1 ? 1 : 0; // up, disabled
    if (glyphWidth)
        DrawGlyphFrame(canvas, FGlyph, FNumGlyphs, frame, x,
                       (FHeight - FGlyph.Height()) / 2 + shift);
    if (caption.empty()) return;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? font.Color() : clGrayText));
    OffsetRect(&text, x + glyphWidth + gap, (FHeight - text.bottom) / 2 + shift);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE);
}
