#include "classlib/gui/ImageList.h"

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), FHandle(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)) {}

TImageList::~TImageList() {
    SetHandle(nullptr, false);
}

void TImageList::SetHandle(HIMAGELIST handle, bool share) {
    if (FHandle && !FShareImages && FHandle != handle) ImageList_Destroy(FHandle);
    FHandle = handle;
    FShareImages = share;
}

int TImageList::Width() const {
    int w = 0, h = 0;
    ImageList_GetIconSize(FHandle, &w, &h);
    return w;
}

int TImageList::Height() const {
    int w = 0, h = 0;
    ImageList_GetIconSize(FHandle, &w, &h);
    return h;
}

int TImageList::AddIcon(HICON icon) {
    return ImageList_AddIcon(FHandle, icon);
}

int TImageList::AddMasked(TBitmap& bitmap, TColor maskColor) {
    GdiFlush();
    return ImageList_AddMasked(FHandle, bitmap.Handle(), ColorToRGB(maskColor));
}
