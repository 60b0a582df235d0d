#include "classlib/gui/BitBtn.h"
#include "classlib/gui/GraphicControl.h"
#include "classlib/gui/ImageList.h"
#include "classlib/gui/TypInfo.h"
#include <algorithm>

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TBitBtn>({
    Published("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs),
    Published("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout,
              {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}),
    Published("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing),
    Published("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin),
    Published("ImageIndex", &TBitBtn::ImageIndex, &TBitBtn::SetImageIndex),
    Published("DisabledIndex", &TBitBtn::DisabledIndex, &TBitBtn::SetDisabledIndex),
});

} // namespace

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::CreateParams(TCreateParams& params) {
    TButton::CreateParams(params);
    params.Style = (params.Style & ~BS_TYPEMASK) | BS_OWNERDRAW;
}

void TBitBtn::SetNumGlyphs(int value) {
    FNumGlyphs = std::max(1, value);
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout value) {
    FLayout = value;
    Invalidate();
}

void TBitBtn::SetSpacing(int value) {
    FSpacing = value;
    Invalidate();
}

void TBitBtn::SetMargin(int value) {
    FMargin = value;
    Invalidate();
}

void TBitBtn::SetImages(TImageList* value) {
    FImages = value;
    Invalidate();
}

void TBitBtn::SetImageIndex(int value) {
    FImageIndex = value;
    Invalidate();
}

void TBitBtn::SetDisabledIndex(int value) {
    FDisabledIndex = value;
    Invalidate();
}

SIZE TBitBtn::ListGlyphSize() const {
    if (!FImages || FImageIndex < 0) return {0, 0};
    return {FImages->Width(), FImages->Height()};
}

void TBitBtn::DrawListGlyph(HDC dc, int x, int y, bool enabled) const {
    if (!FImages || FImageIndex < 0) return;
    if (!enabled && FDisabledIndex >= 0)
        FImages->Draw(dc, x, y, FDisabledIndex, true);
    else
        FImages->Draw(dc, x, y, FImageIndex, enabled);
}

void TBitBtn::WndProc(TMessage& message) {
    // An owner-drawn button takes a quick second click as a double click.
    if (message.Msg == WM_LBUTTONDBLCLK) message.Msg = WM_LBUTTONDOWN;
    if (message.Msg == CN_DRAWITEM) return CNDrawItem(message);
    TButton::WndProc(message);
}

void TBitBtn::CNDrawItem(TMessage& message) {
    auto item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    TControlCanvas canvas;
    canvas.SetHandle(item->hDC);
    canvas.Font().Assign(Font());
    RECT r = item->rcItem;
    bool down = item->itemState & ODS_SELECTED;
    bool framed = Default() || (item->itemState & ODS_FOCUS);
    if (framed) {
        canvas.Brush().SetColor(clBlack);
        canvas.FrameRect(r);
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(item->hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
    DrawContent(canvas, r, down);
    if (item->itemState & ODS_FOCUS) {
        InflateRect(&r, -3, -3);
        DrawFocusRect(item->hDC, &r);
    }
    canvas.SetHandle(nullptr);
    message.Result = TRUE;
}

// Glyph and caption as one block centred in r, the glyph on the layout's side.
void TBitBtn::DrawContent(TCanvas& canvas, RECT r, bool down) {
    std::string caption = Caption();
    RECT text{0, 0, 0, 0};
    if (!caption.empty()) canvas.DrawText(caption, text, DT_SINGLELINE | DT_CALCRECT);
    SIZE glyph =
        FGlyph.Empty() ? ListGlyphSize() : SIZE{FGlyph.Width() / FNumGlyphs, FGlyph.Height()};
    int gap = glyph.cx && text.right ? FSpacing : 0;
    bool across = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    int blockW = across ? glyph.cx + gap + text.right : std::max<int>(glyph.cx, text.right);
    int blockH = across ? std::max<int>(glyph.cy, text.bottom) : glyph.cy + gap + text.bottom;
    int shift = down ? 1 : 0;
    int x = (r.left + r.right - blockW) / 2 + shift, y = (r.top + r.bottom - blockH) / 2 + shift;
    if (FMargin >= 0) { // the block from the edge of the glyph's side
        if (FLayout == blGlyphLeft) x = r.left + FMargin + shift;
        if (FLayout == blGlyphRight) x = r.right - FMargin - blockW + shift;
        if (FLayout == blGlyphTop) y = r.top + FMargin + shift;
        if (FLayout == blGlyphBottom) y = r.bottom - FMargin - blockH + shift;
    }
    POINT g{}, t{};
    switch (FLayout) {
    case blGlyphLeft:
        g = {x, y + (blockH - glyph.cy) / 2};
        t = {x + glyph.cx + gap, y + (blockH - text.bottom) / 2};
        break;
    case blGlyphRight:
        t = {x, y + (blockH - text.bottom) / 2};
        g = {x + text.right + gap, y + (blockH - glyph.cy) / 2};
        break;
    case blGlyphTop:
        g = {x + (blockW - glyph.cx) / 2, y};
        t = {x + (blockW - text.right) / 2, y + glyph.cy + gap};
        break;
    case blGlyphBottom:
        t = {x + (blockW - text.right) / 2, y};
        g = {x + (blockW - glyph.cx) / 2, y + text.bottom + gap};
        break;
    }
    int frame = !Enabled() && FNumGlyphs > 1 ? 1 : down && FNumGlyphs > 2 ? 2 : 0;
    if (!FGlyph.Empty())
        DrawGlyphFrame(canvas, FGlyph, FNumGlyphs, frame, g.x, g.y);
    else
        DrawListGlyph(canvas.Handle(), g.x, g.y, Enabled());
    if (caption.empty()) return;
    canvas.Brush().SetStyle(bsClear);
    if (!Enabled()) canvas.Font().SetColor(clGrayText);
    OffsetRect(&text, t.x, t.y);
    canvas.DrawText(caption, text, DT_SINGLELINE);
}
