#pragma once
// A bitmap kept as a top-down 32-bit DIB section, so every colour (the magenta key
// colour included) survives exactly. Its canvas draws into it through a memory DC.
#include "classlib/gui/Canvas.h"
#include <cstdint>
#include <memory>

class TBitmap : public TPersistent {
public:
    TBitmap();
    ~TBitmap() override;

    void SetSize(int width, int height); // new pixels are black
    [[nodiscard]] int Width() const { return FWidth; }
    [[nodiscard]] int Height() const { return FHeight; }
    [[nodiscard]] bool Empty() const { return FWidth == 0 || FHeight == 0; }
    // The bitmap, taken out of the canvas's DC first: a bitmap can be selected into one
    // DC only, and whoever asks for the handle may select it into their own.
    [[nodiscard]] HBITMAP Handle();
    TCanvas& Canvas();
    // Row y, FWidth pixels as 0x00RRGGBB values; call GdiFlush first after GDI drawing.
    [[nodiscard]] uint32_t* ScanLine(int y) const;
    void Assign(const TPersistent& source) override;
    // Takes a copy of any GDI bitmap; false when it cannot be read.
    bool CopyFromHandle(HBITMAP bitmap);
    void LoadFromFile(const std::string& fileName); // a .bmp file; EFOpenError

private:
    class TBitmapCanvas;
    void SelectInto(HDC dc);
    void FreeContext(); // the canvas lets go of its DC (made again when drawn on)

    TGdiObject FBitmap;
    void* FBits = nullptr;
    int FWidth = 0, FHeight = 0;
    TMemoryDC FDC;
    HGDIOBJ FOldBitmap = nullptr;
    std::unique_ptr<TBitmapCanvas> FCanvas;
};

// Draws frame (from 0) of a strip of frames same-sized pictures side by side, at x, y;
// the strip's bottom-left pixel's colour shows through. Button glyphs are such strips.
void DrawGlyphFrame(TCanvas& canvas, TBitmap& strip, int frames, int frame, int x, int y);
