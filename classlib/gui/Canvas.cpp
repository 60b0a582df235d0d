#include "classlib/gui/Canvas.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Bitmap.h"

TCanvas::TCanvas() {
    FFont.OnChange = [this] { Deselect(); };
    FBrush.OnChange = [this] { Deselect(); };
    FPen.OnChange = [this] { Deselect(); };
}

TCanvas::~TCanvas() {
    Deselect();
}

HDC TCanvas::Handle() {
    if (!FHandle) CreateHandle();
    return FHandle;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == FHandle) return;
    Deselect();
    FHandle = dc;
}

void TCanvas::CreateHandle() {
    throw ECanvasError("Canvas does not allow drawing");
}

void TCanvas::Deselect() {
    if (!FHandle) return;
    if (FState & csFont) SelectObject(FHandle, FOldFont);
    if (FState & csBrush) SelectObject(FHandle, FOldBrush);
    if (FState & csPen) SelectObject(FHandle, FOldPen);
    FState = 0;
}

void TCanvas::RequireState(unsigned state) {
    HDC dc = Handle();
    unsigned missing = state & ~FState;
    if (missing & csFont) FOldFont = SelectObject(dc, FFont.Handle());
    if (missing & csBrush) FOldBrush = SelectObject(dc, FBrush.Handle());
    if (missing & csPen) FOldPen = SelectObject(dc, FPen.Handle());
    FState |= missing;
    if (state & csFont) {
        SetTextColor(dc, ColorToRGB(FFont.Color()));
        SetBkMode(dc, FBrush.Style() == bsClear ? TRANSPARENT : OPAQUE);
        SetBkColor(dc, ColorToRGB(FBrush.Color()));
    }
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    RequireState(csFont | csBrush);
    const std::wstring w = ToWide(text);
    ::TextOutW(FHandle, x, y, w.data(), static_cast<int>(w.size()));
}

void TCanvas::TextRect(const RECT& rect, int x, int y, const std::string& text) {
    RequireState(csFont | csBrush);
    UINT options = ETO_CLIPPED | (FBrush.Style() == bsClear ? 0 : ETO_OPAQUE);
    const std::wstring w = ToWide(text);
    ExtTextOutW(FHandle, x, y, options, &rect, w.data(), static_cast<UINT>(w.size()), nullptr);
}

int TCanvas::DrawText(const std::string& text, RECT& rect, UINT flags) {
    RequireState(csFont | csBrush);
    const std::wstring w = ToWide(text);
    return ::DrawTextW(FHandle, w.c_str(), static_cast<int>(w.size()), &rect, flags);
}

SIZE TCanvas::TextExtent(const std::string& text) {
    RequireState(csFont);
    SIZE size{0, 0};
    const std::wstring w = ToWide(text);
    GetTextExtentPoint32W(FHandle, w.data(), static_cast<int>(w.size()), &size);
    return size;
}

void TCanvas::FillRect(const RECT& rect) {
    RequireState(csBrush);
    ::FillRect(FHandle, &rect, FBrush.Handle());
}

void TCanvas::FrameRect(const RECT& rect) {
    RequireState(csBrush);
    ::FrameRect(FHandle, &rect, FBrush.Handle());
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    RequireState(csBrush | csPen);
    ::Rectangle(FHandle, left, top, right, bottom);
}

void TCanvas::MoveTo(int x, int y) {
    MoveToEx(Handle(), x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    RequireState(csPen);
    ::LineTo(FHandle, x, y);
}

TColor TCanvas::Pixel(int x, int y) {
    return static_cast<TColor>(GetPixel(Handle(), x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    ::SetPixel(Handle(), x, y, ColorToRGB(color));
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    BitBlt(Handle(), x, y, bitmap.Width(), bitmap.Height(), bitmap.Canvas().Handle(), 0, 0,
           SRCCOPY);
}

void TCanvas::StretchDraw(const RECT& dest, TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    SetStretchBltMode(Handle(), COLORONCOLOR);
    StretchBlt(FHandle, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top,
               bitmap.Canvas().Handle(), 0, 0, bitmap.Width(), bitmap.Height(), SRCCOPY);
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect) {
    SetStretchBltMode(Handle(), COLORONCOLOR);
    StretchBlt(FHandle, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top,
               source.Handle(), sourceRect.left, sourceRect.top, sourceRect.right - sourceRect.left,
               sourceRect.bottom - sourceRect.top, SRCCOPY);
}
