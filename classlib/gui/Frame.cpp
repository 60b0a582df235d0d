#include "classlib/gui/Frame.h"

TFrame::TFrame(TComponent* owner) : TCustomControl(owner) {
    FWidth = 320;
    FHeight = 240;
}
