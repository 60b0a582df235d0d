#pragma once
// TBitBtn: a push button that draws a glyph beside its caption (owner-drawn "BUTTON").
// The glyph is a strip of NumGlyphs pictures: up, disabled, down; without one, an
// image of Images. Glyph and caption sit together in the middle, or Margin pixels from
// the edge of the layout's side.
#include "classlib/gui/Bitmap.h"
#include "classlib/gui/Button.h"

class TImageList;

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
    [[nodiscard]] int Margin() const { return FMargin; } // -1: centred
    void SetMargin(int value);
    // The glyph when there is no Glyph bitmap: ImageIndex of Images, or when disabled
    // DisabledIndex (ImageIndex greyed when that is -1). Images is not owned.
    [[nodiscard]] TImageList* Images() const { return FImages; }
    void SetImages(TImageList* value);
    [[nodiscard]] int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    [[nodiscard]] int DisabledIndex() const { return FDisabledIndex; }
    void SetDisabledIndex(int value);
    // Glyph from the image list: its size (0 x 0 for none), and drawn at (x, y).
    [[nodiscard]] SIZE ListGlyphSize() const;
    void DrawListGlyph(HDC dc, int x, int y, bool enabled) const;

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
    int FMargin = -1;
    TImageList* FImages = nullptr;
    int FImageIndex = -1, FDisabledIndex = -1;
};
