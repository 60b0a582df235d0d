#pragma once
// TSpeedButton: a button without a window, painted by its parent: a caption and an
// optional glyph (a strip of NumGlyphs pictures: up, disabled; its bottom-left pixel's
// colour shows through). A flat one shows its edge only under the mouse or pressed.
#include "classlib/gui/Bitmap.h"
#include "classlib/gui/GraphicControl.h"

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);
    static constexpr int GlyphGap = 4; // between glyph and caption

    [[nodiscard]] bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    [[nodiscard]] bool Down() const { return FDown; }
    void SetDown(bool value);           // shown pressed while set
    TBitmap& Glyph() { return FGlyph; } // Invalidate after changing it
    [[nodiscard]] int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;

private:
    bool FFlat = false;
    bool FDown = false;
    bool FHot = false;
    bool FPressed = false;
    TBitmap FGlyph;
    int FNumGlyphs = 1;
};
