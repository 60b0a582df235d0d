#include "skin/SkinTabs.h"
#include "classlib/gui/TabSet.h"
#include "skin/ImageUtils.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinItemText.h"
#include "skin/SkinUpDown.h"
#include <commctrl.h>

namespace {

constexpr TSkinMargins BorderMargins{4, 5, 4, 4};

} // namespace

void TSkinTab::InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) {
    TSkinControl::InitControl(form, data, useSkinColour);
    if (!Handle()) return;
    PrepareBitmaps();
    FindUpDown();
}

void TSkinTab::InitHandle(HWND wnd, TSkinData* data, TSkinForm* form) {
    TSkinControl::InitHandle(wnd, data, form);
    PrepareBitmaps();
    FindUpDown();
}

void TSkinTab::Refresh() {
    PrepareBitmaps();
    TSkinControl::Refresh();
}

// Copies of the tab and border pictures turned for the tab position: bottom tabs use
// them upside down; the strip of left and right tabs is composed lying and turned, so
// only the border is turned for them.
void TSkinTab::PrepareBitmaps() {
    const LONG_PTR style = Style();
    if (style & TCS_VERTICAL)
        FTabPosition = (style & TCS_BOTTOM) ? tpRight : tpLeft;
    else
        FTabPosition = (style & TCS_BOTTOM) ? tpBottom : tpTop;
    FTabBitmap.SetSize(0, 0);
    FBorderBitmap.SetSize(0, 0);
    const TDataSkinBorder* tabs = SkinData()->Elements().Tabs.get();
    if (!tabs || tabs->Bitmap.Empty()) return;
    FTabBitmap.Assign(tabs->Bitmap);
    if (!tabs->Bitmap2.Empty()) FBorderBitmap.Assign(tabs->Bitmap2);
    if (FBorderBitmap.Empty()) return;
    switch (FTabPosition) {
    case tpTop: break;
    case tpBottom:
        FlipBitmap(FTabBitmap);
        FlipBitmap(FBorderBitmap);
        break;
    case tpLeft: RotateBitmapCCW(FBorderBitmap); break;
    case tpRight: RotateBitmapCW(FBorderBitmap); break;
    }
}

HWND TSkinTab::FindUpDown() {
    HWND arrows = FindWindowExW(Handle(), nullptr, UPDOWN_CLASSW, nullptr);
    if (!arrows) return nullptr;
    if (!SkinForm()->Controls().Find(arrows)) {
        auto* skinned = new TSkinUpDown(Owner()); // listed by the skinned window
        skinned->Horizontal = true;
        skinned->InitHandle(arrows, SkinData(), SkinForm());
    }
    return (GetWindowLongPtrW(arrows, GWL_STYLE) & WS_VISIBLE) ? arrows : nullptr;
}

// The page area with its border, its edge toward the tabs one pixel inward.
RECT TSkinTab::DisplayRect(const RECT& rect) const {
    RECT r = rect;
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    InflateRect(&r, 4, 4);
    switch (FTabPosition) {
    case tpTop: ++r.top; break;
    case tpBottom: --r.bottom; break;
    case tpLeft: ++r.left; break;
    case tpRight: --r.right; break;
    }
    return r;
}

// A tab control whose tabs are all hidden shows only its pages: nothing to paint.
void TSkinTab::Draw(HDC dc, const RECT& rect) {
    if (FTabBitmap.Empty() || SendMessageW(Handle(), TCM_GETITEMCOUNT, 0, 0) == 0) return;
    const RECT display = DisplayRect(rect);
    RECT strip = rect;
    switch (FTabPosition) {
    case tpTop: strip.bottom = display.top; break;
    case tpBottom: strip.top = display.bottom; break;
    case tpLeft: strip.right = display.left; break;
    case tpRight: strip.left = display.right; break;
    }
    DrawStrip(dc, strip, rect);
    if (!FBorderBitmap.Empty()) DrawBorder(dc, display);
}

// An item rectangle of the control in the coordinates of the strip buffer, which lies
// horizontally for left and right tabs.
RECT TSkinTab::StripItemRect(RECT item, const RECT& strip, const RECT& rect) const {
    switch (FTabPosition) {
    case tpTop: OffsetRect(&item, -strip.left, 1 - strip.top); return item;
    case tpBottom: OffsetRect(&item, -strip.left, -strip.top - 1); return item;
    case tpLeft:
        return {rect.bottom - item.bottom, item.left - strip.left, rect.bottom - item.top,
                item.right - strip.left};
    case tpRight: break;
    }
    return {item.top, rect.right - item.right, item.bottom, rect.right - item.left};
}

void TSkinTab::DrawStrip(HDC dc, const RECT& strip, const RECT& rect) {
    TSavedDC state(dc);
    if (HWND arrows = FindUpDown()) { // the skinned arrows paint themselves
        RECT a, own;
        GetWindowRect(arrows, &a);
        GetWindowRect(Handle(), &own);
        OffsetRect(&a, -own.left, -own.top);
        ExcludeClipRect(dc, a.left, a.top, a.right, a.bottom);
    }
    const TTurn turn = FTabPosition == tpLeft    ? TTurn::Left
                       : FTabPosition == tpRight ? TTurn::Right
                                                 : TTurn::None;
    FOffscreen.Paint(
        dc, strip,
        [&](HDC b, const RECT& area) {
            FillControlColour(b, area); // the parent's colour between the tabs
            DrawTabs(b, strip, rect);
        },
        turn);
}

void TSkinTab::DrawTabs(HDC b, const RECT& strip, const RECT& rect) {
    TSelectScope useFont(b, WindowFont(Handle()));
    const int count = static_cast<int>(SendMessageW(Handle(), TCM_GETITEMCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
    // The selected tab is drawn last, 2 pixels wider on each side over its neighbours (as
    // the native control does): its thicker frame leaves its caption the others' room.
    for (int i = 0; i < count; ++i) {
        RECT item;
        if (i == selected ||
            !SendMessageW(Handle(), TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)))
            continue;
        DrawTab(b, i, StripItemRect(item, strip, rect), false);
    }
    RECT item;
    if (selected >= 0 &&
        SendMessageW(Handle(), TCM_GETITEMRECT, selected, reinterpret_cast<LPARAM>(&item))) {
        RECT wide = StripItemRect(item, strip, rect);
        InflateRect(&wide, 2, 0);
        DrawTab(b, selected, wide, true);
    }
}

void TSkinTab::DrawTab(HDC dc, int index, const RECT& item, bool selected) {
    TDataSkinBorder& tabs = *SkinData()->Elements().Tabs;
    wchar_t text[80] = {};
    TCITEMW info{};
    info.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    info.pszText = text;
    info.cchTextMax = 80;
    info.iImage = -1;
    SendMessageW(Handle(), TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&info));
    TSkinMargins margins = tabs.Margins();
    if (FTabPosition == tpBottom) std::swap(margins.Top, margins.Bottom);
    DrawSkinRect(dc, item, FTabBitmap, false, tabs.Tile, tabs.Trans, tabs.FrameCount,
                 selected ? 2 : 1, margins);
    SetTextColor(dc, ColorToRGB(selected ? tabs.MouseOverColour2 : tabs.NormalColour2));
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle(), TCM_GETIMAGELIST, 0, 0));
    DrawItemContent(dc, item, text, images, info.iImage, DT_CENTER, WindowEnabled());
}

// The border picture as a frame of eight pieces around the page area, its middle left out.
void TSkinTab::DrawBorder(HDC dc, const RECT& display) {
    TSavedDC state(dc);
    ExcludeClipRect(dc, display.left + BorderMargins.Left, display.top + BorderMargins.Top,
                    display.right - BorderMargins.Right, display.bottom - BorderMargins.Bottom);
    DrawSkinRect(dc, display, FBorderBitmap, false, false, true, 1, 1, BorderMargins);
}

bool TSkinTabSheet::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    if (ParentBackgroundSwitchedOff()) return true; // the sheet shows its parent's background
    switch (message.Msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(Handle(), &r);
        FillSkinColour(reinterpret_cast<HDC>(message.WParam), r);
        message.Result = 1;
        return false;
    }
    case WM_PAINT:
    case WM_PRINT: WmPaint(message); return false;
    }
    return true;
}

// The face colour, then the sheet's graphic controls (the sheet's own paint does those).
void TSkinTabSheet::Draw(HDC dc, const RECT& rect) {
    FOffscreen.Paint(dc, rect, [&](HDC b, const RECT& area) {
        FillSkinColour(b, area);
        TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(b), 0, 0};
        CallPrevious(paint);
    });
}

// ---- tab sets

void TSkinTab31::InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) {
    (void)useSkinColour;
    auto control = dynamic_cast<TWinControl*>(Owner());
    if (!control) return;
    InitHandle(control->Handle(), data, form);
    PrepareBitmap();
}

void TSkinTab31::Refresh() {
    PrepareBitmap();
    TSkinControl::Refresh();
}

void TSkinTab31::PrepareBitmap() {
    FTabBitmap.SetSize(0, 0);
    const TDataSkinBorder* tabs = SkinData()->Elements().Tabs.get();
    if (!tabs || tabs->Bitmap.Empty()) return;
    FTabBitmap.Assign(tabs->Bitmap);
    FlipBitmap(FTabBitmap);
}

// The skin paints first; the tab set's own paint then finds nothing left to paint.
bool TSkinTab31::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT: WmPaint(message); return true;
    case WM_ERASEBKGND: message.Result = 1; return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinTab31::Draw(HDC dc, const RECT& rect) {
    auto tabSet = dynamic_cast<TTabSet*>(Owner());
    const TDataSkinBorder* tabs = SkinData()->Elements().Tabs.get();
    if (!tabSet || !tabs || FTabBitmap.Empty()) return;
    TSkinMargins margins = tabs->Margins();
    std::swap(margins.Top, margins.Bottom); // the picture is upside down
    FOffscreen.Paint(dc, rect, [&](HDC buffer, const RECT& all) {
        FillSkinColour(buffer, all);
        TSelectScope font(buffer, tabSet->Font().Handle());
        const int count = static_cast<int>(tabSet->Tabs().size());
        for (int i = tabSet->FirstIndex(); i < count; ++i) {
            RECT tab = tabSet->TabRect(i);
            if (IsRectEmpty(&tab)) continue;
            tab.bottom = all.bottom;
            const bool selected = i == tabSet->TabIndex();
            DrawSkinRect(buffer, tab, FTabBitmap, false, tabs->Tile, tabs->Trans, tabs->FrameCount,
                         selected ? 2 : 1, margins);
            SetTextColor(buffer,
                         ColorToRGB(selected ? tabs->MouseOverColour2 : tabs->NormalColour2));
            DrawCaption(buffer, tab, DT_CENTER, true, tabSet->Tabs()[i]);
        }
    });
}
