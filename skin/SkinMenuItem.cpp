#include "skin/SkinMenuItem.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/ImageList.h"
#include "classlib/gui/MainMenu.h"
#include "classlib/gui/Menus.h"
#include "skin/SkinData.h"
#include "skin/SkinManage.h"
#include <algorithm>

namespace {

constexpr int GlyphSize = 16;
constexpr int SystemCheckMark = 32760; // OBM_CHECK, declared only with OEMRESOURCE

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
int GlyphWidth(const TImageList* images) {
    return images ? images->Width() : GlyphSize;
}

// Where an item's caption starts: after the margin and the glyph column.
int TextLeft(const TSkinData& data, const TImageList* images) {
    return 1 + ElementLeft(data) + GlyphWidth(images) + 8;
}

constexpr int ShortCutGap = 16, RightGap = 10;

int TextWidth(HDC dc, const std::string& text) {
    RECT r{0, 0, 0, 0};
    SkinDrawText(dc, text, r, DT_CALCRECT | DT_SINGLELINE);
    return r.right;
}

void MeasureItem(TSkinData& data, const TImageList* images, TMenuItem* item, HDC dc, int& width,
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
    width = TextLeft(data, images) + r.right + RightGap;
    if (!item->ShortCutText().empty()) width += ShortCutGap + TextWidth(dc, item->ShortCutText());
    height = std::max<int>({GetSystemMetrics(SM_CYMENU), r.bottom + 6, GlyphWidth(images) + 2});
}

// The part of the popup's frame picture under the item, or the skin's menu colour.
void PaintBackground(TSkinData& data, HDC target, HDC itemDC, const RECT& r) {
    TSkinManage* manager = SkinManager();
    HWND menu = WindowFromDC(target);
    TBitmap* frame = manager ? manager->MenuPicture(menu) : nullptr;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (frame && !frame->Empty()) {
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

// The glyph box: at the item's left (its right for a right-to-left menu), one pixel in.
RECT GlyphBox(const TSkinData& data, const TImageList* images, const TMenuItem* item, int w,
              bool rightToLeft) {
    int g = GlyphWidth(images);
    if (item->Checked()) g = std::max(g, GlyphSize);
    const int x = rightToLeft ? w - 1 - ElementLeft(data) - g : 1 + ElementLeft(data);
    return {x, 1, x + g, 1 + g};
}

// The system's check mark in the button-text colour, its white left out.
void PaintCheckMark(HDC dc, const RECT& box) {
    TGdiObject mark(LoadBitmapW(nullptr, MAKEINTRESOURCEW(SystemCheckMark)));
    BITMAP size{};
    if (!mark || !GetObjectW(mark.Get(), sizeof(size), &size)) return;
    TMemoryDC source(CreateCompatibleDC(dc));
    TSelectScope select(source.Get(), mark.Get());
    TBrushHandle brush(CreateSolidBrush(GetSysColor(COLOR_BTNTEXT)));
    TSelectScope useBrush(dc, brush.Get());
    const COLORREF text = SetTextColor(dc, 0), back = SetBkColor(dc, 0xFFFFFF);
    const int x = box.left + (box.right - box.left - size.bmWidth) / 2 + 1;
    const int y = box.top + (box.bottom - box.top - size.bmHeight) / 2 + 1;
    // Where the mark is black the brush goes on; elsewhere the item stays.
    BitBlt(dc, x, y, size.bmWidth, size.bmHeight, source.Get(), 0, 0, 0x00B8074A);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
}

// The item's image in the glyph box, a disabled item's in its text colour; a checked
// item's box is sunken, or shows the check mark when there is no image.
void PaintGlyph(const TSkinData& data, const TImageList* images, TMenuItem* item, HDC dc,
                const RECT& box) {
    const int index = item->ImageIndex();
    const bool hasImage = images && index >= 0 && index < images->Count();
    if (!hasImage) {
        if (item->Checked()) PaintCheckMark(dc, box);
        return;
    }
    if (item->Checked()) {
        const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT);
        TBrushHandle mix(CreateSolidBrush(RGB((GetRValue(face) + GetRValue(light)) / 2,
                                              (GetGValue(face) + GetGValue(light)) / 2,
                                              (GetBValue(face) + GetBValue(light)) / 2)));
        FillRect(dc, &box, mix.Get());
        RECT edge = box;
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
    const int w = images->Width(), h = images->Height();
    TBitmap glyph; // white shows through, as in the image list's mask
    glyph.SetSize(w, h);
    HDC g = glyph.Canvas().Handle();
    RECT all{0, 0, w, h};
    FillRect(g, &all, StockBrush(WHITE_BRUSH));
    ImageList_Draw(images->Handle(), index, g, 0, 0, ILD_TRANSPARENT);
    if (!item->Enabled()) Silhouette(glyph, ColorToRGB(DisabledColour(data.Colours())));
    TransparentBlit(dc, {box.left, box.top, box.left + w, box.top + h}, glyph, 0xFFFFFF);
}

void PaintText(TSkinData& data, const TImageList* images, TMenuItem* item, HDC dc, int w, int h,
               bool selected, bool rightToLeft) {
    const TSkinColours& c = data.Colours();
    TColor color = selected ? c.HilightText : c.MenuText;
    if (!item->Enabled()) color = DisabledColour(c);
    TFontHandle font = MenuFont(item->Default());
    TSelectScope select(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(color));
    const int indent = TextLeft(data, images);
    RECT r = rightToLeft ? RECT{4, 0, w - indent, h} : RECT{indent, 0, w - 4, h};
    SkinDrawText(dc, item->Caption(), r,
                 DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | (rightToLeft ? DT_RIGHT : DT_LEFT));
    if (item->ShortCutText().empty()) return;
    r = rightToLeft ? RECT{RightGap, 0, w - indent, h} : RECT{indent, 0, w - RightGap, h};
    SkinDrawText(dc, item->ShortCutText(), r,
                 DT_SINGLELINE | DT_VCENTER | (rightToLeft ? DT_LEFT : DT_RIGHT));
}

void DrawItem(TSkinData& data, const TImageList* images, TMenuItem* item, HDC dc, const RECT& rect,
              bool selected, bool rightToLeft = false) {
    static TOffscreen* items = new TOffscreen; // lives as long as the program; one menu paints
    items->Paint(dc, rect, [&](HDC b, const RECT& all) {
        const int w = all.right, h = all.bottom;
        const auto& element = data.Elements().MenuItem;
        if (element && !element->Bitmap.Empty()) {
            PaintBackground(data, dc, b, rect);
            if (item->IsLine())
                PaintSeparator(*element, b, w, h);
            else
                DrawSkinRect(b, all, element->Bitmap, false, element->Tile, element->Trans, 5,
                             selected && item->Enabled() ? 4 : 1, element->Margins());
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
            PaintGlyph(data, images, item, b, GlyphBox(data, images, item, w, rightToLeft));
            PaintText(data, images, item, b, w, h, selected, rightToLeft);
        }
    });
}

template <class Menu>
void ForEachMenu(TComponent* owner, const std::function<void(Menu&)>& action) {
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        TComponent* c = owner->Components(i);
        if (auto menu = dynamic_cast<Menu*>(c)) action(*menu);
        ForEachMenu(c, action);
    }
}

} // namespace

void SkinFormPopupMenus(TComponent* form, TSkinData* data, bool rightToLeft) {
    ForEachMenu<TPopupMenu>(form, [data, rightToLeft](TPopupMenu& menu) {
        if (data && menu.Tag() % 100 == data->DisableTag) return;
        menu.OwnerDraw = data != nullptr;
        if (!data) {
            menu.OnMeasureItem = nullptr;
            menu.OnDrawItem = nullptr;
            return;
        }
        const TPopupMenu* popup = &menu; // the handlers live in the menu
        menu.OnMeasureItem = [data, popup](TMenuItem* item, HDC dc, int& width, int& height) {
            MeasureItem(*data, popup->Images, item, dc, width, height);
        };
        menu.OnDrawItem = [data, popup, rightToLeft](TMenuItem* item, HDC dc, const RECT& rect,
                                                     bool selected) {
            DrawItem(*data, popup->Images, item, dc, rect, selected, rightToLeft);
        };
    });
}

void SkinFormMainMenus(TComponent* form, TSkinData* data, bool rightToLeft) {
    ForEachMenu<TMainMenu>(form, [data, rightToLeft](TMainMenu& menu) {
        if (!data) {
            menu.SetOwnerDraw(false);
            menu.OnMeasureItem = nullptr;
            menu.OnDrawItem = nullptr;
            return;
        }
        menu.OnMeasureItem = [data](TMenuItem* item, HDC dc, int& width, int& height) {
            MeasureItem(*data, nullptr, item, dc, width, height);
        };
        menu.OnDrawItem = [data, rightToLeft](TMenuItem* item, HDC dc, const RECT& rect,
                                              bool selected) {
            DrawItem(*data, nullptr, item, dc, rect, selected, rightToLeft);
        };
        menu.SetOwnerDraw(true);
    });
}

void SetMenuOwnerDrawn(HMENU menu, bool ownerDrawn) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, i, TRUE, &info)) continue;
        if (info.hSubMenu) SetMenuOwnerDrawn(info.hSubMenu, ownerDrawn);
        if (((info.fType & MFT_OWNERDRAW) != 0) == ownerDrawn) continue;
        info.fMask = MIIM_FTYPE;
        info.fType ^= MFT_OWNERDRAW;
        SetMenuItemInfoW(menu, i, TRUE, &info);
    }
}

namespace {

// The text of a native item found by its id anywhere in the menu; empty when none.
// (Asked as the item's string: an owner-drawn item keeps its text there.)
std::string NativeItemText(HMENU menu, UINT id) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 255;
    if (!menu || !GetMenuItemInfoW(menu, id, FALSE, &info)) return {};
    return ToUtf8(text);
}

} // namespace

void MeasureNativeMenuItem(TSkinData& data, HMENU popup, MEASUREITEMSTRUCT& measure) {
    const std::string text = NativeItemText(popup, measure.itemID);
    TWindowDC screen(nullptr);
    TFontHandle font = MenuFont(false);
    TSelectScope select(screen.Get(), font.Get());
    RECT r{0, 0, 0, 0};
    SkinDrawText(screen.Get(), text, r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    measure.itemWidth = r.right + 26 + ElementLeft(data);
    measure.itemHeight = text.empty() ? 8 : measure.itemHeight + 4;
}

void DrawNativeMenuItem(TSkinData& data, const DRAWITEMSTRUCT& draw, bool rightToLeft) {
    auto menu = reinterpret_cast<HMENU>(draw.hwndItem);
    const std::string text = NativeItemText(menu, draw.itemID);
    TMenuItem item(nullptr);
    const auto tab = text.find('\t');
    item.SetCaption(text.empty() ? "-" : text.substr(0, tab));
    if (tab != std::string::npos) item.SetShortCutText(text.substr(tab + 1));
    item.SetEnabled(!(draw.itemState & (ODS_GRAYED | ODS_DISABLED)));
    item.SetChecked(draw.itemState & ODS_CHECKED);
    DrawItem(data, nullptr, &item, draw.hDC, draw.rcItem, draw.itemState & ODS_SELECTED,
             rightToLeft);
}
