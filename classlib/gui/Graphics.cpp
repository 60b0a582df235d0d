#include "classlib/gui/Graphics.h"
#include "classlib/base/SysUtils.h"
#include <cstring>

namespace {

int ScreenPixelsPerInch() {
    TWindowDC dc(nullptr);
    return GetDeviceCaps(dc.Get(), LOGPIXELSY);
}

} // namespace

COLORREF ColorToRGB(TColor color) {
    if ((static_cast<uint32_t>(color) & 0xFF000000u) == 0xFF000000u)
        return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0xFFFFFF;
}

HGDIOBJ TGraphicsObject::Handle() const {
    if (!FHandle) FHandle.Reset(CreateHandle());
    return FHandle.Get();
}

void TGraphicsObject::Changed() {
    TGdiObject previous = std::move(FHandle); // freed once OnChange has let go of it
    if (OnChange) OnChange();
}

TFont::TFont() : FName("Tahoma"), FHeight(-11) {}

void TFont::Assign(const TPersistent& source) {
    auto font = dynamic_cast<const TFont*>(&source);
    if (!font) return TPersistent::Assign(source);
    FName = font->FName;
    FHeight = font->FHeight;
    FStyle = font->FStyle;
    FColor = font->FColor;
    Changed();
}

void TFont::SetName(const std::string& name) {
    if (name == FName) return;
    FName = name;
    Changed();
}

int TFont::Size() const {
    return -MulDiv(FHeight, 72, ScreenPixelsPerInch());
}

void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72));
}

void TFont::SetHeight(int height) {
    if (height == FHeight) return;
    FHeight = height;
    Changed();
}

void TFont::SetStyle(unsigned style) {
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    Changed();
}

HGDIOBJ TFont::CreateHandle() const {
    LOGFONTW lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle & fsBold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (FStyle & fsItalic) != 0;
    lf.lfUnderline = (FStyle & fsUnderline) != 0;
    lf.lfStrikeOut = (FStyle & fsStrikeOut) != 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    ToWide(FName).copy(lf.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

void TBrush::Assign(const TPersistent& source) {
    auto brush = dynamic_cast<const TBrush*>(&source);
    if (!brush) return TPersistent::Assign(source);
    FColor = brush->FColor;
    FStyle = brush->FStyle;
    Changed();
}

void TBrush::SetColor(TColor color) {
    if (color == FColor && FStyle == bsSolid) return;
    FColor = color;
    FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

HGDIOBJ TBrush::CreateHandle() const {
    if (FStyle == bsClear) {
        LOGBRUSH lb{BS_HOLLOW, 0, 0};
        return CreateBrushIndirect(&lb);
    }
    return CreateSolidBrush(ColorToRGB(FColor));
}

void TPen::Assign(const TPersistent& source) {
    auto pen = dynamic_cast<const TPen*>(&source);
    if (!pen) return TPersistent::Assign(source);
    FColor = pen->FColor;
    FWidth = pen->FWidth;
    FStyle = pen->FStyle;
    Changed();
}

void TPen::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    Changed();
}

void TPen::SetWidth(int width) {
    if (width == FWidth) return;
    FWidth = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

HGDIOBJ TPen::CreateHandle() const {
    static constexpr int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_NULL};
    return CreatePen(styles[FStyle], FWidth, ColorToRGB(FColor));
}
