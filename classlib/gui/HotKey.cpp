#include "classlib/gui/HotKey.h"
#include <commctrl.h>

namespace {

constexpr WORD ShortCutShift = 0x2000, ShortCutCtrl = 0x4000, ShortCutAlt = 0x8000;

// The control's value: the key in the low byte, HOTKEYF_ bits in the high byte.
WORD ToControl(WORD shortCut) {
    BYTE flags = 0;
    if (shortCut & ShortCutShift) flags |= HOTKEYF_SHIFT;
    if (shortCut & ShortCutCtrl) flags |= HOTKEYF_CONTROL;
    if (shortCut & ShortCutAlt) flags |= HOTKEYF_ALT;
    return MAKEWORD(LOBYTE(shortCut), flags);
}

WORD FromControl(WORD value) {
    const BYTE key = LOBYTE(value), flags = HIBYTE(value);
    if (key == 0) return 0;
    WORD shortCut = key;
    if (flags & HOTKEYF_SHIFT) shortCut |= ShortCutShift;
    if (flags & HOTKEYF_CONTROL) shortCut |= ShortCutCtrl;
    if (flags & HOTKEYF_ALT) shortCut |= ShortCutAlt;
    return shortCut;
}

} // namespace

THotKey::THotKey(TComponent* owner) : TWinControl(owner) {
    FWidth = 120;
    FHeight = 21;
    SetTabStop(true);
    SetColor(clWindow);
}

void THotKey::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = HOTKEY_CLASSA;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void THotKey::InitializeWnd() {
    SendMessageW(Handle(), HKM_SETRULES, HKCOMB_NONE, MAKELPARAM(HOTKEYF_ALT, 0));
    SendMessageW(Handle(), HKM_SETHOTKEY, ToControl(FHotKey), 0);
}

void THotKey::DestroyWnd() {
    FHotKey = HotKey();
    TWinControl::DestroyWnd();
}

void THotKey::WndProc(TMessage& message) {
    TWinControl::WndProc(message);
    if (message.Msg == CM_ENTER && OnEnter) OnEnter(this);
    if (message.Msg == CM_EXIT && OnExit) OnExit(this);
}

WORD THotKey::HotKey() const {
    HWND wnd = HandleIfAllocated();
    return wnd ? FromControl(LOWORD(SendMessageW(wnd, HKM_GETHOTKEY, 0, 0))) : FHotKey;
}

void THotKey::SetHotKey(WORD value) {
    FHotKey = value;
    if (HandleAllocated()) SendMessageW(Handle(), HKM_SETHOTKEY, ToControl(value), 0);
}
