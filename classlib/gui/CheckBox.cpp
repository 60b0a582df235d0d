#include "classlib/gui/CheckBox.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/TypInfo.h"

namespace {

[[maybe_unused]] const bool Registered =
    RegisterPublished<TButtonControl>({
        Published("Checked", &TButtonControl::Checked, &TButtonControl::SetChecked),
    }) &&
    RegisterPublished<TCheckBox>({
        Published("State", &TCheckBox::State, &TCheckBox::SetState,
                  {"cbUnchecked", "cbChecked", "cbGrayed"}),
    });

} // namespace

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    FWidth = 97;
    FHeight = 17;
    SetTabStop(true);
}

void TButtonControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "BUTTON";
}

void TButtonControl::InitializeWnd() {
    SendMessageW(Handle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TButtonControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND: CNCommand(message); break;
    case CM_DIALOGCHAR: CMDialogChar(message); break;
    default: TWinControl::WndProc(message); break;
    }
}

void TButtonControl::CNCommand(TMessage& message) {
    if (HIWORD(message.WParam) == BN_CLICKED) Toggle();
}

void TButtonControl::CMDialogChar(TMessage& message) {
    if (!CanFocus() || !IsAccel(static_cast<wchar_t>(message.WParam), Caption())) return;
    SetFocus();
    Toggle();
    message.Result = 1;
}

void TButtonControl::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    Click();
}

void TCheckBox::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.Style |= BS_CHECKBOX;
}

void TRadioButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::SetChecked(bool value) {
    if (value == FChecked) return;
    if (value && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
            if (sibling && sibling != this) sibling->SetChecked(false);
        }
    }
    FChecked = value;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (value) Click();
}
