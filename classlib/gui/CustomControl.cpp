#include "classlib/gui/CustomControl.h"

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {
    FCanvas.Font().Assign(Font());
}

void TCustomControl::WndProc(TMessage& message) {
    if (message.Msg == CM_FONTCHANGED) FCanvas.Font().Assign(Font());
    TWinControl::WndProc(message);
}

void TCustomControl::PaintWindow(HDC dc) {
    FCanvas.PaintOn(dc, [this] { Paint(); });
}
