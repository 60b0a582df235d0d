#pragma once
// TImageList: a list of same-sized images (an image list of the common controls).
// With ShareImages the handle is not destroyed with the object (the system image
// list, for one).
#include "classlib/gui/Bitmap.h"
#include "classlib/gui/Classes.h"
#include <commctrl.h>

struct TImageListTraits {
    using Type = HIMAGELIST;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { ImageList_Destroy(h); }
};
using TImageListHandle = THandle<TImageListTraits>;

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner, int width = 16, int height = 16);

    [[nodiscard]] HIMAGELIST Handle() const { return FShareImages ? FShared : FOwned.Get(); }
    void SetHandle(HIMAGELIST handle, bool share); // frees the previous one unless shared
    [[nodiscard]] bool ShareImages() const { return FShareImages; }
    [[nodiscard]] int Width() const;
    [[nodiscard]] int Height() const;
    [[nodiscard]] int Count() const { return ImageList_GetImageCount(Handle()); }

    int AddIcon(HICON icon); // the new image's index, -1 on failure
    // Adds the bitmap's images (its width over Width); maskColor shows through.
    int AddMasked(TBitmap& bitmap, TColor maskColor);
    void Clear() { ImageList_RemoveAll(Handle()); }
    // The image at (x, y), its transparent parts left out; greyed and embossed when
    // not enabled, as the system draws a disabled picture.
    void Draw(HDC dc, int x, int y, int index, bool enabled) const;

private:
    TImageListHandle FOwned;
    HIMAGELIST FShared = nullptr; // someone else's, with ShareImages
    bool FShareImages = false;
};
