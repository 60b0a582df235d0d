#include "classlib/gui/Bitmap.h"
#include "classlib/base/SysUtils.h"
#include <cstring>

class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& bitmap) : FBitmap(bitmap) {}
    void Release() {
        Deselect();
        SetHandle(nullptr);
    }

protected:
    void CreateHandle() override {
        FBitmap.FDC.Reset(CreateCompatibleDC(nullptr));
        FBitmap.SelectInto(FBitmap.FDC.Get());
        SetHandle(FBitmap.FDC.Get());
    }

private:
    TBitmap& FBitmap;
};

TBitmap::TBitmap() : FCanvas(std::make_unique<TBitmapCanvas>(*this)) {}

TBitmap::~TBitmap() {
    FreeContext();
}

void TBitmap::SelectInto(HDC dc) {
    FOldBitmap = FBitmap ? SelectObject(dc, FBitmap.Get()) : nullptr;
}

void TBitmap::FreeContext() {
    FCanvas->Release();
    if (FDC && FOldBitmap) SelectObject(FDC.Get(), FOldBitmap);
    FOldBitmap = nullptr;
    FDC.Reset();
}

HBITMAP TBitmap::Handle() {
    FreeContext();
    return static_cast<HBITMAP>(FBitmap.Get());
}

TCanvas& TBitmap::Canvas() {
    return *FCanvas;
}

void TBitmap::SetSize(int width, int height) {
    if (width == FWidth && height == FHeight) return;
    FreeContext();
    FBitmap.Reset();
    FBits = nullptr;
    FWidth = width > 0 && height > 0 ? width : 0;
    FHeight = FWidth ? height : 0;
    if (!FWidth) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = FWidth;
    info.bmiHeader.biHeight = -FHeight; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    FBitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &FBits, nullptr, 0));
    if (!FBitmap) {
        FWidth = FHeight = 0;
        RaiseLastOSError();
    }
}

uint32_t* TBitmap::ScanLine(int y) const {
    return static_cast<uint32_t*>(FBits) + static_cast<size_t>(y) * FWidth;
}

void TBitmap::Assign(const TPersistent& source) {
    auto bitmap = dynamic_cast<const TBitmap*>(&source);
    if (!bitmap) return TPersistent::Assign(source);
    GdiFlush();
    SetSize(bitmap->FWidth, bitmap->FHeight);
    if (FBits) std::memcpy(FBits, bitmap->FBits, size_t(FWidth) * FHeight * 4);
}

bool TBitmap::CopyFromHandle(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm)) return false;
    SetSize(bm.bmWidth, bm.bmHeight);
    if (Empty()) return true;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = FWidth;
    info.bmiHeader.biHeight = -FHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    TWindowDC screen(nullptr);
    GdiFlush();
    return GetDIBits(screen.Get(), bitmap, 0, FHeight, FBits, &info, DIB_RGB_COLORS) == FHeight;
}

void TBitmap::LoadFromFile(const std::string& fileName) {
    TGdiObject loaded(LoadImageW(nullptr, ToWide(fileName).c_str(), IMAGE_BITMAP, 0, 0,
                                 LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!loaded || !CopyFromHandle(static_cast<HBITMAP>(loaded.Get())))
        throw EFOpenError("Cannot open file " + fileName);
}

void DrawGlyphFrame(TCanvas& canvas, TBitmap& strip, int frames, int frame, int x, int y) {
    if (strip.Empty() || frames < 1) return;
    int w = strip.Width() / frames;
    GdiFlush();
    COLORREF key = strip.ScanLine(strip.Height() - 1)[0] & 0xFFFFFF; // 0x00RRGGBB
    COLORREF transparent = RGB(GetBValue(key), GetGValue(key), GetRValue(key));
    TransparentBlt(canvas.Handle(), x, y, w, strip.Height(), strip.Canvas().Handle(), frame * w, 0,
                   w, strip.Height(), transparent);
}
