#include "classlib/gui/Edit.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/TypInfo.h"

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TCustomEdit>({
    Published("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly),
    Published("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength),
});

// What a one-line setting may hold: no controls (line breaks, tabs, the manual line
// break of word processors), no unpaired surrogates and no non-characters.
bool IsOneLineChar(wchar_t c) {
    return c >= 0x20 && c != 0x7F && c != 0xFFFE && c != 0xFFFF;
}

std::wstring ClipboardText(HWND owner) {
    std::wstring text;
    if (!OpenClipboard(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

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
    // A disabled edit asks for the colours of static text: it is painted disabled.
    if (message.Msg == CN_CTLCOLORSTATIC && !IsWindowEnabled(Handle()))
        return CNCtlColorDisabled(message);
    if (message.Msg == WM_PASTE &&
        !(GetWindowLongW(Handle(), GWL_STYLE) & (ES_MULTILINE | ES_READONLY)))
        return PasteOneLine();
    TWinControl::WndProc(message);
}

void TCustomEdit::CNCommand(TMessage& message) {
    if (HIWORD(message.WParam) == EN_CHANGE && OnChange) OnChange(this);
}

void TCustomEdit::CNCtlColorDisabled(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    message.Result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void TCustomEdit::PasteOneLine() {
    const std::wstring text = KeepUnits(ClipboardText(Handle()), IsOneLineChar, 0);
    SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
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
