#include "classlib/gui/StaticText.h"

TStaticText::TStaticText(TComponent* owner) : TWinControl(owner) {
    FWidth = 65;
    FHeight = 17;
}

void TStaticText::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "STATIC";
    params.Style |= SS_LEFT | SS_NOTIFY;
}
