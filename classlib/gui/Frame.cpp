#include "classlib/gui/Frame.h"

TFrame::TFrame(TComponent* owner) : TCustomFrame(owner) {
    FWidth = 320;
    FHeight = 240;
}
