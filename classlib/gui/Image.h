#pragma once
// TImage: a picture painted by its parent, at its top left or stretched to the
// control's bounds. Main thread only.
#include "classlib/gui/Bitmap.h"
#include "classlib/gui/GraphicControl.h"

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    // The picture; call Invalidate after changing its pixels.
    TBitmap& Picture() { return FPicture; }
    void SetPicture(const TBitmap& picture);
    [[nodiscard]] bool Stretch() const { return FStretch; }
    void SetStretch(bool value);

protected:
    void Paint() override;

private:
    TBitmap FPicture;
    bool FStretch = false;
};
