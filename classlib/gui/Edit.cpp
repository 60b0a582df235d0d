#include "classlib/gui/Edit.h"
#include "classlib/gui/TypInfo.h"

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TCustomEdit>({
    Published("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly),
    Published("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength),
});

} // namespace

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    FWidth = 121;
    FHeight = 21;
    SetColor(clWindow);
    SetTabStop(true);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "EDIT";
    params.ExStyle |= WS_EX_CLIENTEDGE;
    if (FReadOnly) params.Style |= ES_READONLY;
}

void TCustomEdit::InitializeWnd() {
    SendMessageW(Handle(), EM_SETLIMITTEXT, FMaxLength, 0); // 0 lifts the default limit
    if (FPasswordChar)
        SendMessageW(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(FPasswordChar), 0);
}

void TCustomEdit::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) return CNCommand(message);
    TWinControl::WndProc(message);
}

void TCustomEdit::CNCommand(TMessage& message) {
    if (HIWORD(message.WParam) == EN_CHANGE && OnChange) OnChange(this);
}

void TCustomEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, value, 0);
}

void TCustomEdit::SetMaxLength(int value) {
    FMaxLength = value;
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETLIMITTEXT, value, 0);
}

void TCustomEdit::SetPasswordChar(char value) {
    FPasswordChar = value;
    if (!HandleAllocated()) return;
    SendMessageW(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(value), 0);
    Invalidate();
}

void TCustomEdit::SelectAll() {
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {}

void TEdit::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.Style |= ES_AUTOHSCROLL;
}
