#include "engine/tools/ShortCut.h"
#include "classlib/base/SysUtils.h"
#include <array>
#include <set>

namespace {
const WORD KeyMask = 0x1FFF;

struct TNamedKey {
    WORD Key;
    const char* Name;
};
const TNamedKey NamedKeys[] = {
    {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},    {VK_ESCAPE, "Esc"}, {VK_RETURN, "Enter"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},  {VK_END, "End"},
    {VK_HOME, "Home"},   {VK_LEFT, "Left"},  {VK_UP, "Up"},      {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},   {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

struct TModifier {
    TShortCut Bit;
    const char* Name;
};
const TModifier Modifiers[] = {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

// The names the list fixes; "" for any other key.
std::string FixedName(WORD key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, char(key));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return std::string(1, char('0' + key - VK_NUMPAD0));
    if (key >= VK_F1 && key <= VK_F24) return Format("F%d", key - VK_F1 + 1);
    for (const TNamedKey& k : NamedKeys)
        if (k.Key == key) return k.Name;
    return "";
}

// Any other key: the name Windows gives it, unless that is empty or already taken
// (X keymaps give several keys one name); then "VK" and its code.
const std::array<std::string, 256>& OtherNames() {
    static const std::array<std::string, 256> names = [] {
        std::array<std::string, 256> n;
        std::set<std::string> used;
        for (int key = 1; key < 256; ++key)
            used.insert(UpperCase(FixedName(WORD(key))));
        for (int key = 1; key < 256; ++key) {
            if (!FixedName(WORD(key)).empty()) continue;
            wchar_t name[64] = {};
            const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
            if (scan) GetKeyNameTextW(LONG(scan << 16), name, 64);
            n[key] = ToUtf8(name);
            if (n[key].empty() || !used.insert(UpperCase(n[key])).second)
                n[key] = Format("VK%02X", key);
        }
        return n;
    }();
    return names;
}

std::string KeyName(WORD key) {
    const std::string fixed = FixedName(key);
    return fixed.empty() && key < 256 ? OtherNames()[key] : fixed;
}
} // namespace

std::string ShortCutToText(TShortCut shortCut) {
    const WORD key = shortCut & KeyMask;
    if (key == 0) return "";
    std::string text;
    for (const TModifier& m : Modifiers)
        if (shortCut & m.Bit) text += m.Name;
    return text + KeyName(key);
}

TShortCut TextToShortCut(const std::string& text) {
    TShortCut modifiers = 0;
    std::string rest = text;
    for (bool found = true; found;) {
        found = false;
        for (const TModifier& m : Modifiers) {
            const std::string name = m.Name;
            if (rest.size() > name.size() && SameText(rest.substr(0, name.size()), name)) {
                modifiers |= m.Bit;
                rest.erase(0, name.size());
                found = true;
            }
        }
    }
    // The first code with that name: "1" is the digit key, not the keypad's.
    for (WORD key = 1; key <= 0xFF; ++key)
        if (SameText(KeyName(key), rest)) return TShortCut(modifiers | key);
    return 0;
}

UINT HotKeyModifiers(TShortCut shortCut) {
    UINT bits = 0;
    if (shortCut & scAlt) bits |= MOD_ALT;
    if (shortCut & scCtrl) bits |= MOD_CONTROL;
    if (shortCut & scShift) bits |= MOD_SHIFT;
    return bits;
}

bool IsAllowedHotKey(TShortCut shortCut) {
    return !(shortCut & 0x1FFF) || (shortCut & (scCtrl | scAlt));
}

bool IsWindowsAltKey(TShortCut shortCut) {
    if (!(shortCut & scAlt) || (shortCut & scCtrl)) return false;
    const WORD key = shortCut & 0x1FFF;
    return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == VK_SPACE ||
           key == VK_TAB || key == VK_F4;
}
