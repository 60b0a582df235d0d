#include "classlib/gui/Edit.h"
#include "classlib/gui/TypInfo.h"

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TEdit>({
    Published("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly),
});

}  // namespace

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    FWidth = 121;
    FHeight = 21;
    SetTabStop(true);
    SetColor(clWindow);
}

void TEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "EDIT";
    params.Style |= ES_AUTOHSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    if (FReadOnly) params.Style |= ES_READONLY;
}

void TEdit::InitializeWnd() {
    if (FPasswordChar) SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(FPasswordChar), 0);
}

void TEdit::SetPasswordChar(char value) {
    FPasswordChar = value;
    if (HandleAllocated()) {
        SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(value), 0);
        Invalidate();
    }
}

void TEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, value, 0);
}

void TEdit::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == EN_CHANGE) {
        if (OnChange) OnChange(this);
        return;
    }
    TWinControl::WndProc(message);
}
