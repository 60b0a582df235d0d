#pragma once
// Shortcuts: a virtual-key code in the low bits plus modifier bits; 0 is none.
// Text forms such as "Ctrl+Alt+Q" and "Alt+Space" are used by "prefs.dat" and the
// hot-key page.
#include <string>
#include <windows.h>

using TShortCut = WORD;

enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0 };

// "Shift+", "Ctrl+", "Alt+" in this order, then the key's name; "" for 0.
std::string ShortCutToText(TShortCut shortCut);
// Modifier names in any order and case, then a key name; 0 when it names no key.
TShortCut TextToShortCut(const std::string& text);
// RegisterHotKey's modifier bits for a shortcut: Alt 1, Ctrl 2, Shift 4.
UINT HotKeyModifiers(TShortCut shortCut);
// Whether a global hot key may hold this shortcut: one without Ctrl or Alt (Shift
// with a letter, a key alone) would take that key from typing in every program.
// A cleared shortcut is allowed.
bool IsAllowedHotKey(TShortCut shortCut);
// Alt without Ctrl on a letter, digit, Space, Tab or F4: keys that open menus, switch
// windows or close them in every program.
bool IsWindowsAltKey(TShortCut shortCut);
