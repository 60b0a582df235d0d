#include "classlib/gui/CheckBox.h"
#include "classlib/gui/TypInfo.h"

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TButtonControl>({
    Published("Checked", &TButtonControl::Checked, &TButtonControl::SetChecked),
});

}  // namespace

// The buttons are not "auto" buttons: the state lives here and a click toggles it
// through SetChecked, so code and user changes take one road.
TButtonControl::TButtonControl(TComponent* owner, DWORD buttonStyle)
    : TWinControl(owner), FButtonStyle(buttonStyle) {
    FWidth = 97;
    FHeight = 17;
    SetTabStop(true);
}

void TButtonControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "BUTTON";
    params.Style |= FButtonStyle;
}

void TButtonControl::InitializeWnd() {
    SendMessageA(Handle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TButtonControl::Checked() const { return FChecked; }

void TButtonControl::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    CheckedChanged();
    Click();
}

void TButtonControl::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
        SetChecked(FButtonStyle == BS_RADIOBUTTON ? true : !FChecked);
        return;
    }
    TWinControl::WndProc(message);
}

void TRadioButton::CheckedChanged() {
    if (!Checked() || !Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto other = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
        if (other && other != this) other->SetChecked(false);
    }
}
