#pragma once
// TBitBtn: a push button that draws a glyph beside its caption (owner-drawn "BUTTON").
// The glyph is a strip of NumGlyphs pictures: up, disabled, down.
#include "classlib/gui/Bitmap.h"
#include "classlib/gui/Button.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);

    TBitmap& Glyph() { return FGlyph; } // Invalidate after changing it
    [[nodiscard]] int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    [[nodiscard]] TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    [[nodiscard]] int Spacing() const { return FSpacing; } // between glyph and caption
    void SetSpacing(int value);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void CNDrawItem(TMessage& message);

private:
    void DrawContent(TCanvas& canvas, RECT r, bool down);

    TBitmap FGlyph;
    int FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int FSpacing = 4;
};
