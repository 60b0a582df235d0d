#pragma once
// Colours and the GDI objects a canvas draws with. A colour is 0x00BBGGRR, or
// 0xFF000000 plus a system colour index (resolved when painting).
#include "classlib/base/Handle.h"
#include "classlib/gui/Classes.h"
#include <cstdint>
#include <functional>
#include <string>

using TColor = int32_t;
constexpr TColor SystemColor(int index) {
    return static_cast<TColor>(0xFF000000u | index);
}
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clRed = 0x0000FF, clLime = 0x00FF00,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clGray = 0x808080, clSilver = 0xC0C0C0,
                 clNavy = 0x800000, clMaroon = 0x000080, clGreen = 0x008000;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE), clWindow = SystemColor(COLOR_WINDOW),
                 clWindowText = SystemColor(COLOR_WINDOWTEXT),
                 clBtnText = SystemColor(COLOR_BTNTEXT), clHighlight = SystemColor(COLOR_HIGHLIGHT),
                 clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT),
                 clGrayText = SystemColor(COLOR_GRAYTEXT),
                 clBtnShadow = SystemColor(COLOR_BTNSHADOW),
                 clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);

COLORREF ColorToRGB(TColor color);

// A GDI object made from its properties on first use and remade after a change.
// OnChange fires (on the changing thread) while the previous handle is still alive,
// so whoever has it selected can let go of it first.
class TGraphicsObject : public TPersistent {
public:
    std::function<void()> OnChange;
    [[nodiscard]] HGDIOBJ Handle() const;

protected:
    void Changed();
    virtual HGDIOBJ CreateHandle() const = 0;

private:
    mutable TGdiObject FHandle;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont : public TGraphicsObject {
public:
    TFont();
    void Assign(const TPersistent& source) override;
    [[nodiscard]] HFONT Handle() const { return static_cast<HFONT>(TGraphicsObject::Handle()); }

    [[nodiscard]] const std::string& Name() const { return FName; }
    void SetName(const std::string& name);
    [[nodiscard]] int Size() const; // points
    void SetSize(int points);
    [[nodiscard]] int Height() const { return FHeight; } // pixels; negative: character height
    void SetHeight(int height);
    [[nodiscard]] unsigned Style() const { return FStyle; } // TFontStyle bits
    void SetStyle(unsigned style);
    [[nodiscard]] TColor Color() const { return FColor; }
    void SetColor(TColor color);

protected:
    HGDIOBJ CreateHandle() const override;

private:
    std::string FName;
    int FHeight;
    unsigned FStyle = 0;
    TColor FColor = clWindowText;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
public:
    void Assign(const TPersistent& source) override;
    [[nodiscard]] HBRUSH Handle() const { return static_cast<HBRUSH>(TGraphicsObject::Handle()); }
    [[nodiscard]] TColor Color() const { return FColor; }
    void SetColor(TColor color);
    [[nodiscard]] TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle style);

protected:
    HGDIOBJ CreateHandle() const override;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

enum TPenStyle { psSolid, psDash, psDot, psClear };

class TPen : public TGraphicsObject {
public:
    void Assign(const TPersistent& source) override;
    [[nodiscard]] HPEN Handle() const { return static_cast<HPEN>(TGraphicsObject::Handle()); }
    [[nodiscard]] TColor Color() const { return FColor; }
    void SetColor(TColor color);
    [[nodiscard]] int Width() const { return FWidth; }
    void SetWidth(int width);
    [[nodiscard]] TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle style);

protected:
    HGDIOBJ CreateHandle() const override;

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
};
