#include "classlib/gui/Button.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/TypInfo.h"

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TButton>({
    Published("Default", &TButton::Default, &TButton::SetDefault),
    Published("Cancel", &TButton::Cancel, &TButton::SetCancel),
    Published("ModalResult", &TButton::ModalResult, &TButton::SetModalResult),
    Published("MultiLine", &TButton::MultiLine, &TButton::SetMultiLine),
});

} // namespace

bool IsAccel(wchar_t key, const std::string& caption) {
    const std::wstring text = ToWide(caption);
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] != L'&') return SameText(ToUtf8(text.substr(i + 1, 1)), ToUtf8({key}));
        ++i; // "&&" is a literal ampersand
    }
    return false;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    FWidth = 75;
    FHeight = 25;
    SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "BUTTON";
    params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (FMultiLine) params.Style |= BS_MULTILINE;
}

void TButton::SetMultiLine(bool value) {
    FMultiLine = value;
    if (!HandleAllocated()) return;
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    SetWindowLongPtrW(Handle(), GWL_STYLE, value ? style | BS_MULTILINE : style & ~BS_MULTILINE);
    Invalidate();
}

void TButton::SetDefault(bool value) {
    FDefault = value;
    if (!HandleAllocated()) return;
    if ((GetWindowLongPtrW(Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) return Invalidate();
    SendMessageW(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND: CNCommand(message); break;
    case CM_DIALOGKEY: CMDialogKey(message); break;
    case CM_DIALOGCHAR: CMDialogChar(message); break;
    default: TWinControl::WndProc(message); break;
    }
}

void TButton::Click() {
    if (TForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    TWinControl::Click();
}

void TButton::CNCommand(TMessage& message) {
    if (HIWORD(message.WParam) == BN_CLICKED) Click();
}

void TButton::CMDialogKey(TMessage& message) {
    if (!CanFocus()) return;
    bool buttonFocused = dynamic_cast<TButton*>(FindControl(GetFocus())) != nullptr;
    bool returnKey = message.WParam == VK_RETURN && (Focused() || (FDefault && !buttonFocused));
    if (returnKey || (message.WParam == VK_ESCAPE && FCancel)) {
        Click();
        message.Result = 1;
    }
}

void TButton::CMDialogChar(TMessage& message) {
    if (CanFocus() && IsAccel(static_cast<wchar_t>(message.WParam), Caption())) {
        Click();
        message.Result = 1;
    }
}
