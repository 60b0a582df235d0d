#pragma once
// A drawing surface over a device context, with the font, brush and pen selected
// into it on demand and selected out again before the DC is let go.
#include "classlib/gui/Graphics.h"
#include <string>

class TBitmap;

class ECanvasError : public Exception {
    using Exception::Exception;
};

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // The DC; a plain canvas without one raises ECanvasError, descendants make one.
    HDC Handle();
    void SetHandle(HDC dc); // not owned; nullptr lets go of the current one
    [[nodiscard]] bool HandleAllocated() const { return FHandle != nullptr; }

    TFont& Font() { return FFont; }
    TBrush& Brush() { return FBrush; }
    TPen& Pen() { return FPen; }

    // Text is drawn in the font's colour, on the brush colour unless the brush is clear.
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const RECT& rect, int x, int y, const std::string& text); // clipped to rect
    // DrawTextA with the canvas's font and brush; returns the text height. With
    // DT_CALCRECT it measures into rect instead.
    int DrawText(const std::string& text, RECT& rect, UINT flags);
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }

    void FillRect(const RECT& rect);                          // with the brush
    void FrameRect(const RECT& rect);                         // with the brush
    void Rectangle(int left, int top, int right, int bottom); // pen outline, brush inside
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    [[nodiscard]] TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    void Draw(int x, int y, TBitmap& bitmap);
    void StretchDraw(const RECT& dest, TBitmap& bitmap);
    void CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect);

protected:
    virtual void CreateHandle();
    void Deselect(); // puts the DC's original objects back

private:
    enum : unsigned { csFont = 1, csBrush = 2, csPen = 4 };
    void RequireState(unsigned state);

    HDC FHandle = nullptr;
    TFont FFont;
    TBrush FBrush;
    TPen FPen;
    unsigned FState = 0;
    HGDIOBJ FOldFont = nullptr, FOldBrush = nullptr, FOldPen = nullptr;
};
