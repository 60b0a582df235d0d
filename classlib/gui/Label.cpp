#include "classlib/gui/Label.h"
#include "classlib/gui/TypInfo.h"

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TLabel>({
    Published("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize),
    Published("Alignment", &TLabel::Alignment, &TLabel::SetAlignment,
              {"taLeftJustify", "taRightJustify", "taCenter"}),
    Published("Transparent", &TLabel::Transparent, &TLabel::SetTransparent),
    Published("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap),
    Published("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar),
    Published("EllipsisPosition", &TLabel::EllipsisPosition, &TLabel::SetEllipsisPosition,
              {"epNone", "epPathEllipsis"}),
});

} // namespace

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    FWidth = 65;
    FHeight = 17;
    AdjustBounds();
}

void TLabel::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TGraphicControl::WndProc(message);
        AdjustBounds();
        Invalidate();
        break;
    default: TGraphicControl::WndProc(message); break;
    }
}

UINT TLabel::DrawFlags() const {
    static constexpr UINT align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    UINT flags = DT_EXPANDTABS | align[FAlignment];
    flags |= FWordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    if (FEllipsisPosition == epPathEllipsis && !FWordWrap) flags |= DT_PATH_ELLIPSIS;
    return flags;
}

void TLabel::AdjustBounds() {
    if (!FAutoSize) return;
    std::string text = Caption().empty() ? " " : Caption();
    RECT r{0, 0, FWordWrap ? FWidth : 0, 0};
    Canvas().DrawText(text, r, DrawFlags() | DT_CALCRECT);
    int left = FAlignment == taRightJustify ? FLeft + FWidth - r.right : FLeft;
    SetBounds(left, FTop, r.right, r.bottom);
}

void TLabel::Paint() {
    TCanvas& canvas = Canvas();
    RECT r = ClientRect();
    if (!FTransparent) {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(r);
    }
    canvas.Brush().SetStyle(bsClear);
    if (!Enabled()) canvas.Font().SetColor(clGrayText);
    canvas.DrawText(Caption(), r, DrawFlags());
    canvas.Font().SetColor(Font().Color());
}

void TLabel::SetAutoSize(bool value) {
    FAutoSize = value;
    AdjustBounds();
}

void TLabel::SetAlignment(TAlignment value) {
    FAlignment = value;
    Invalidate();
}

void TLabel::SetTransparent(bool value) {
    FTransparent = value;
    Invalidate();
}

void TLabel::SetWordWrap(bool value) {
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
    FShowAccelChar = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetEllipsisPosition(TEllipsisPosition value) {
    FEllipsisPosition = value;
    Invalidate();
}
