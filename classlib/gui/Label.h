#pragma once
// TLabel: text painted by its parent. With AutoSize (the default) its size follows
// the caption and font.
#include "classlib/gui/GraphicControl.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// Where a single line too long for the label loses its letters: clipped, or folders
// in the middle of a path left out ("c:\a\...\name.txt").
enum TEllipsisPosition { epNone, epPathEllipsis };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);

    [[nodiscard]] bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    [[nodiscard]] TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    [[nodiscard]] bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    [[nodiscard]] bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    [[nodiscard]] bool ShowAccelChar() const { return FShowAccelChar; } // "&x" underlines x
    void SetShowAccelChar(bool value);
    [[nodiscard]] TEllipsisPosition EllipsisPosition() const { return FEllipsisPosition; }
    void SetEllipsisPosition(TEllipsisPosition value);

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
    void AdjustBounds();

private:
    [[nodiscard]] UINT DrawFlags() const;

    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
    bool FTransparent = false;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    TEllipsisPosition FEllipsisPosition = epNone;
};
