#include "skin/SkinMenuItem.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/ImageList.h"
#include "classlib/gui/Menus.h"
#include "skin/SkinData.h"
#include "skin/SkinManage.h"
#include <algorithm>

namespace {

constexpr int GlyphSize = 16;

TFontHandle MenuFont(bool bold) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
    return TFontHandle(CreateFontIndirectW(&metrics.lfMenuFont));
}

int ElementLeft(const TSkinData& data) {
    return data.Elements().MenuItem ? data.Elements().MenuItem->LeftWidth : 0;
}

// The glyph column's width: the menu's images', else 16.
int GlyphWidth(const TPopupMenu& menu) {
    return menu.Images ? menu.Images->Width() : GlyphSize;
}

// Where an item's caption starts: after the margin and the glyph column.
int TextLeft(const TSkinData& data, const TPopupMenu& menu) {
    return 1 + ElementLeft(data) + GlyphWidth(menu) + 8;
}

constexpr int ShortCutGap = 16, RightGap = 10;

int TextWidth(HDC dc, const std::string& text) {
    RECT r{0, 0, 0, 0};
    SkinDrawText(dc, text, r, DT_CALCRECT | DT_SINGLELINE);
    return r.right;
}

void MeasureItem(TSkinData& data, const TPopupMenu& menu, TMenuItem* item, HDC dc, int& width,
                 int& height) {
    if (item->IsLine()) {
        width = 10;
        height = 8;
        return;
    }
    TFontHandle font = MenuFont(item->Default());
    TSelectScope select(dc, font.Get());
    RECT r{0, 0, 0, 0};
    SkinDrawText(dc, item->Caption(), r, DT_CALCRECT | DT_SINGLELINE);
    width = TextLeft(data, menu) + r.right + RightGap;
    if (!item->ShortCutText().empty()) width += ShortCutGap + TextWidth(dc, item->ShortCutText());
    height = std::max<int>({GetSystemMetrics(SM_CYMENU), r.bottom + 6, GlyphWidth(menu) + 2});
}

// The part of the popup's frame picture under the item, or the skin's menu colour.
void PaintBackground(TSkinData& data, HDC target, HDC itemDC, const RECT& r) {
    TSkinManage* manager = SkinManager();
    TBitmap* frame = manager ? manager->GetMenuBitmap(nullptr) : nullptr;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (frame && !frame->Empty()) {
        HWND menu = WindowFromDC(target);
        POINT origin{0, 0};
        RECT window{};
        ClientToScreen(menu, &origin);
        GetWindowRect(menu, &window);
        StretchBlt(itemDC, 0, 0, w, h, frame->Canvas().Handle(), r.left + origin.x - window.left,
                   r.top + origin.y - window.top, 1, h, SRCCOPY);
        return;
    }
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(data.Colours().Menu)));
    RECT all{0, 0, w, h};
    FillRect(itemDC, &all, brush.Get());
}

// A separator: the bottom rows of MenuItem's frame 2, its margins kept.
void PaintSeparator(const TDataSkinObject& e, HDC dc, int w, int h) {
    const int fw = e.FrameWidth(), rows = std::min(2, e.Bitmap.Height());
    TBitmap line;
    line.SetSize(fw, rows);
    BitBlt(line.Canvas().Handle(), 0, 0, fw, rows, const_cast<TBitmap&>(e.Bitmap).Canvas().Handle(),
           fw, e.Bitmap.Height() - rows, SRCCOPY);
    RECT r{0, (h - rows) / 2, w, (h - rows) / 2 + rows};
    DrawSkinRect(dc, r, line, false, false, true, 1, 1, {e.LeftWidth, 0, e.RightWidth, 0});
}

// A disabled item's text and image colour.
TColor DisabledColour(const TSkinColours& c) {
    return c.ButtonShadow == c.MenuText ? clGrayText : c.ButtonShadow;
}

// Every drawn pixel of the picture in one colour; white stays.
void Silhouette(TBitmap& picture, COLORREF colour) {
    GdiFlush();
    const uint32_t c = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int y = 0; y < picture.Height(); ++y) {
        uint32_t* row = picture.ScanLine(y);
        for (int x = 0; x < picture.Width(); ++x)
            if ((row[x] & 0xFFFFFF) != 0xFFFFFF) row[x] = c;
    }
}

// The item's image at the glyph column's top left; a disabled item's in its text colour.
void PaintImage(const TSkinData& data, const TPopupMenu& menu, TMenuItem* item, HDC dc) {
    const int index = item->ImageIndex();
    if (!menu.Images || index < 0 || index >= menu.Images->Count()) return;
    const int w = menu.Images->Width(), h = menu.Images->Height();
    TBitmap glyph; // white shows through, as in the image list's mask
    glyph.SetSize(w, h);
    HDC g = glyph.Canvas().Handle();
    RECT all{0, 0, w, h};
    FillRect(g, &all, StockBrush(WHITE_BRUSH));
    ImageList_Draw(menu.Images->Handle(), index, g, 0, 0, ILD_TRANSPARENT);
    if (!item->Enabled()) Silhouette(glyph, ColorToRGB(DisabledColour(data.Colours())));
    const int x = 1 + ElementLeft(data);
    TransparentBlit(dc, {x, 1, x + w, 1 + h}, glyph, 0xFFFFFF);
}

void PaintText(TSkinData& data, const TPopupMenu& menu, TMenuItem* item, HDC dc, int w, int h,
               bool selected) {
    const TSkinColours& c = data.Colours();
    TColor color = selected ? c.HilightText : c.MenuText;
    if (!item->Enabled()) color = DisabledColour(c);
    TFontHandle font = MenuFont(item->Default());
    TSelectScope select(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(color));
    RECT r{TextLeft(data, menu), 0, w - 4, h};
    SkinDrawText(dc, item->Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (item->ShortCutText().empty()) return;
    r.right = w - RightGap;
    SkinDrawText(dc, item->ShortCutText(), r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

void DrawItem(TSkinData& data, const TPopupMenu& menu, TMenuItem* item, HDC dc, const RECT& rect,
              bool selected) {
    static TOffscreen* items = new TOffscreen; // lives as long as the program; one menu paints
    items->Paint(dc, rect, [&](HDC b, const RECT& all) {
        const int w = all.right, h = all.bottom;
        const auto& element = data.Elements().MenuItem;
        if (element && !element->Bitmap.Empty()) {
            PaintBackground(data, dc, b, rect);
            if (item->IsLine())
                PaintSeparator(*element, b, w, h);
            else
                DrawSkinRect(b, all, element->Bitmap, false, element->Tile == 1,
                             element->Trans == 1, 5, selected && item->Enabled() ? 4 : 1,
                             element->Margins());
        } else {
            TBrushHandle brush(CreateSolidBrush(
                ColorToRGB(selected ? data.Colours().Hilight : data.Colours().Menu)));
            FillRect(b, &all, brush.Get());
            if (item->IsLine()) {
                RECT line{0, 4, w, h};
                DrawEdge(b, &line, EDGE_ETCHED, BF_TOP);
            }
        }
        if (!item->IsLine()) {
            PaintImage(data, menu, item, b);
            PaintText(data, menu, item, b, w, h, selected);
        }
    });
}

void ForEachPopupMenu(TComponent* owner, const std::function<void(TPopupMenu&)>& action) {
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        TComponent* c = owner->Components(i);
        if (auto menu = dynamic_cast<TPopupMenu*>(c)) action(*menu);
        ForEachPopupMenu(c, action);
    }
}

} // namespace

void SkinFormPopupMenus(TComponent* form, TSkinData* data) {
    ForEachPopupMenu(form, [data](TPopupMenu& menu) {
        if (data && menu.Tag() % 100 == data->DisableTag) return;
        menu.OwnerDraw = data != nullptr;
        if (!data) {
            menu.OnMeasureItem = nullptr;
            menu.OnDrawItem = nullptr;
            return;
        }
        const TPopupMenu* popup = &menu; // the handlers live in the menu
        menu.OnMeasureItem = [data, popup](TMenuItem* item, HDC dc, int& width, int& height) {
            MeasureItem(*data, *popup, item, dc, width, height);
        };
        menu.OnDrawItem = [data, popup](TMenuItem* item, HDC dc, const RECT& rect, bool selected) {
            DrawItem(*data, *popup, item, dc, rect, selected);
        };
    });
}
