#include "classlib/gui/ImageList.h"

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), FOwned(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)) {}

void TImageList::SetHandle(HIMAGELIST handle, bool share) {
    if (handle == FOwned.Get()) (void)FOwned.Release(); // the same list changes hands only
    FOwned.Reset(share ? nullptr : handle);
    FShared = share ? handle : nullptr;
    FShareImages = share;
}

int TImageList::Width() const {
    int w = 0, h = 0;
    ImageList_GetIconSize(Handle(), &w, &h);
    return w;
}

int TImageList::Height() const {
    int w = 0, h = 0;
    ImageList_GetIconSize(Handle(), &w, &h);
    return h;
}

int TImageList::AddIcon(HICON icon) {
    return ImageList_AddIcon(Handle(), icon);
}

int TImageList::AddMasked(TBitmap& bitmap, TColor maskColor) {
    GdiFlush();
    return ImageList_AddMasked(Handle(), bitmap.Handle(), ColorToRGB(maskColor));
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
    if (enabled) {
        ImageList_Draw(Handle(), index, dc, x, y, ILD_TRANSPARENT);
        return;
    }
    TIconHandle icon(ImageList_GetIcon(Handle(), index, ILD_NORMAL));
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.Get()), 0, x, y, 0, 0,
               DST_ICON | DSS_DISABLED);
}
