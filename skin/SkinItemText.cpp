#include "skin/SkinItemText.h"
#include <algorithm>

void DrawItemContent(HDC dc, const RECT& item, const std::wstring& text, HIMAGELIST images,
                     int image, UINT align, bool enabled) {
    const int width = item.right - item.left, height = item.bottom - item.top;
    int imageW = 0, imageH = 0;
    if (images && image >= 0 && ImageList_GetIconSize(images, &imageW, &imageH) && imageW >= width)
        imageW = 0;
    if (imageW == 0) imageH = 0;
    const UINT format = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_SINGLELINE;
    RECT measured{0, 0, width, height};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
    const int textW = measured.right - measured.left;
    int x = 2;
    if (align == DT_CENTER) x = (width - imageW - textW) / 2;
    if (align == DT_RIGHT) x = width - imageW - textW - 2;
    x = std::max(x, 2);
    if (imageW > 0)
        ImageList_Draw(images, image, dc, item.left + x, item.top + (height - imageH) / 2,
                       ILD_TRANSPARENT);
    RECT textRect{item.left + x + imageW + 1, item.top, item.right, item.bottom};
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF colour = enabled ? GetTextColor(dc) : GetSysColor(COLOR_BTNSHADOW);
    const COLORREF old = SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, format | DT_VCENTER);
    SetTextColor(dc, old);
    SetBkMode(dc, mode);
}
