#include "skin/SkinListView.h"
#include "classlib/gui/WinControl.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinItemText.h"
#include <commctrl.h>

void TSkinListView::InitScroll(TWinControl* control, TSkinData* data, TSkinForm* form) {
    TSkinScrollbar::InitScroll(control, data, form);
    if (!Control()) return;
    auto header = reinterpret_cast<HWND>(SendMessageW(Handle(), LVM_GETHEADER, 0, 0));
    if (!header || form->Controls().Find(header)) return;
    auto* skinned = new TSkinHeader(Control()); // owned by the list view
    skinned->InitHandle(header, data, form);
}

TDataSkinObject* TSkinHeader::Element() const {
    TDataSkinObject* e = SkinData()->Elements().Headerbar.get();
    return e && !e->Bitmap.Empty() ? e : nullptr;
}

bool TSkinHeader::BeforeMessage(TMessage& message) {
    if (message.Msg == WM_ERASEBKGND && Element()) {
        message.Result = 1;
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinHeader::Draw(HDC dc, const RECT& rect) {
    TDataSkinObject* element = Element();
    if (!element) return;
    FOffscreen.Paint(dc, rect, [&](HDC b, const RECT& area) {
        TSelectScope useFont(b, WindowFont(Handle()));
        SetTextColor(b, ColorToRGB(SkinData()->Colours().ButtonText));
        const int count = static_cast<int>(SendMessageW(Handle(), HDM_GETITEMCOUNT, 0, 0));
        int right = 0;
        for (int i = 0; i < count; ++i) {
            RECT item;
            if (!SendMessageW(Handle(), HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)))
                continue;
            DrawItem(b, i, item, *element);
            right = std::max<int>(right, item.right);
        }
        DrawSkinRect(b, {right, 0, area.right, area.bottom}, element->Bitmap, false, element->Tile,
                     false, element->FrameCount, 1, element->Margins());
    });
}

void TSkinHeader::DrawItem(HDC dc, int index, const RECT& item, TDataSkinObject& element) {
    wchar_t text[201] = {};
    HDITEMW info{};
    info.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    info.pszText = text;
    info.cchTextMax = 201;
    SendMessageW(Handle(), HDM_GETITEMW, index, reinterpret_cast<LPARAM>(&info));
    DrawSkinRect(dc, item, element.Bitmap, false, element.Tile, false, element.FrameCount, 1,
                 element.Margins());
    if (!text[0]) return;
    const UINT align = (info.fmt & HDF_RIGHT)    ? DT_RIGHT
                       : (info.fmt & HDF_CENTER) ? DT_CENTER
                                                 : DT_LEFT;
    const bool withImage = info.fmt & (HDF_IMAGE | HDF_OWNERDRAW);
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle(), HDM_GETIMAGELIST, 0, 0));
    DrawItemContent(dc, item, text, images, withImage ? info.iImage : -1, align, WindowEnabled());
}
