#include "classlib/gui/Image.h"

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    FWidth = 105;
    FHeight = 105;
}

void TImage::SetPicture(const TBitmap& picture) {
    FPicture.Assign(picture);
    Invalidate();
}

void TImage::SetStretch(bool value) {
    FStretch = value;
    Invalidate();
}

void TImage::Paint() {
    if (FPicture.Empty()) return;
    if (FStretch)
        Canvas().StretchDraw(ClientRect(), FPicture);
    else
        Canvas().Draw(0, 0, FPicture);
}
