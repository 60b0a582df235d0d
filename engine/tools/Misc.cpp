#include "engine/tools/Misc.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include "engine/settings/SecretCipher.h"
#include "engine/settings/XMLValues.h"

namespace {
// The attributes of "ShortCuts" in file order; the hot keys among them in id order.
struct TShortCutAttr {
    const char* Name;
    TShortCut TMisc::*Key; // null for a switch
    bool TMisc::*Switch;   // null for a hot key
    int Id;
    const char* Default;
    bool TMisc::*OnlyWhile; // the switch without which the hot key is not registered
};
const TShortCutAttr ShortCutAttrs[] = {
    {"QuickClean", &TMisc::QuickClean, nullptr, TMisc::hkQuickClean, "Ctrl+Alt+Q", nullptr},
    {"CleanAndReboot", &TMisc::CleanAndReboot, nullptr, TMisc::hkCleanAndReboot, "Ctrl+Alt+R",
     nullptr},
    {"CleanAndShutDown", &TMisc::CleanAndShutDown, nullptr, TMisc::hkCleanAndShutDown, "Ctrl+Alt+S",
     nullptr},
    {"StopTask", &TMisc::StopTask, nullptr, TMisc::hkStopTask, "Ctrl+Alt+T", nullptr},
    {"StealthModeEnabled", nullptr, &TMisc::StealthModeEnabled, 0, nullptr, nullptr},
    {"StealthModeKey", &TMisc::StealthModeKey, nullptr, TMisc::hkStealthMode, "Alt+A",
     &TMisc::StealthModeEnabled},
    {"BossKeyEnabled", nullptr, &TMisc::BossKeyEnabled, 0, nullptr, nullptr},
    // Alt+Space is every window's system menu: taken only while the boss key is on.
    {"BossKey", &TMisc::BossKey, nullptr, TMisc::hkBossKey, "Alt+Space", &TMisc::BossKeyEnabled},
    {"RecycleBinKey", &TMisc::RecycleBinKey, nullptr, TMisc::hkRecycleBin, "Ctrl+Alt+B", nullptr},
};

const char* const IEMainKey = "Software\\Microsoft\\Internet Explorer\\Main";

// The stored password fields in file order.
std::string TPasswordItem::*const PasswordFields[] = {
    &TPasswordItem::Title, &TPasswordItem::UserName, &TPasswordItem::Password, &TPasswordItem::URL};
const char* const PasswordAttrs[] = {"Title", "UserName", "Password", "URL"};
} // namespace

TMisc::TMisc() : StartPageTimer(std::make_unique<TTimer>(nullptr)) {
    SetDefaultHotKeys();
    StartPageTimer->SetOnTimer([this](TObject*) { CheckStartPage(); });
    StartPageTimer->SetInterval(3000);
    StartPageTimer->SetEnabled(true);
}

TMisc::~TMisc() = default;

void TMisc::SetDefaultHotKeys() {
    for (const TShortCutAttr& a : ShortCutAttrs)
        if (a.Key) this->*a.Key = TextToShortCut(a.Default);
}

std::vector<int> TMisc::RegisterHotKeys() {
    std::vector<int> failed;
    if (!HotKeyWindow) return failed; // without a window they would go to the thread's queue
    for (const TShortCutAttr& a : ShortCutAttrs) {
        const TShortCut key = a.Key ? this->*a.Key : 0;
        // A cleared hot key, or one whose feature is off, has nothing to register.
        if (!(key & 0x1FFF) || (a.OnlyWhile && !(this->*a.OnlyWhile))) continue;
        if (!MayHold(a.Id, key) ||
            !RegisterHotKey(HotKeyWindow, a.Id, HotKeyModifiers(key), key & 0x1FFF))
            failed.push_back(a.Id);
    }
    return failed;
}

bool TMisc::MayHold(int id, TShortCut key) {
    if (!IsAllowedHotKey(key)) return false;
    for (const TShortCutAttr& a : ShortCutAttrs)
        if (a.Id == id && a.OnlyWhile) return true;
    return !IsWindowsAltKey(key);
}

void TMisc::UnregisterHotKeys() {
    for (const TShortCutAttr& a : ShortCutAttrs)
        if (a.Key) UnregisterHotKey(HotKeyWindow, a.Id);
}

std::vector<int> TMisc::ApplyHotKeys() {
    UnregisterHotKeys();
    return RegisterHotKeys();
}

void TMisc::CheckStartPage() {
    // An empty address would blank the user's start page.
    if (!ProtectStartPage || ResetStartPageTo.empty()) return;
    try {
        TRegistry reg;
        reg.RootKey = HKEY_CURRENT_USER;
        if (!reg.OpenKey(IEMainKey, false)) return;
        // A value of another type (a hijacker's REG_BINARY, say) differs as well.
        std::string current;
        if (!reg.TryReadString("Start Page", current) || current != ResetStartPageTo)
            reg.WriteString("Start Page", ResetStartPageTo);
    } catch (const Exception&) {
        // The next tick tries again.
        LogSwallowed("TMisc::CheckStartPage");
    }
}

void TMisc::SaveToXML(TXMLNode Parent) {
    TXMLNode misc = Parent.AddChild("Misc");
    TXMLNode protection = misc.AddChild("StartPageProtection");
    protection.SetAttribute("ProtectStartPage", BoolToXML(ProtectStartPage));
    protection.SetAttribute("ResetStartPageTo", ResetStartPageTo);

    TXMLNode shortCuts = misc.AddChild("ShortCuts");
    for (const TShortCutAttr& a : ShortCutAttrs)
        shortCuts.SetAttribute(a.Name,
                               a.Key ? ShortCutToText(this->*a.Key) : BoolToXML(this->*a.Switch));

    // One cipher state for the whole list: each value's text depends on all before it.
    TSecretCipher cipher;
    TXMLNode passwords = misc.AddChild("Passwords");
    for (const auto& p : Passwords) {
        TXMLNode item = passwords.AddChild("Item");
        for (size_t f = 0; f < 4; ++f)
            item.SetAttribute(PasswordAttrs[f], cipher.EncryptText((*p).*PasswordFields[f]));
    }
}

void TMisc::LoadFromXML(const TXMLNode& Parent) {
    const TXMLNode misc = Parent.FindNode("Misc");
    if (!misc) return;
    if (const TXMLNode protection = misc.FindNode("StartPageProtection")) {
        if (protection.HasAttribute("ProtectStartPage")) {
            try {
                ProtectStartPage = XMLToBool(protection.Attribute("ProtectStartPage"));
            } catch (const EConvertError&) {
                // A broken switch keeps its value.
                LogSwallowed("TMisc::LoadFromXML");
            }
        }
        if (protection.HasAttribute("ResetStartPageTo"))
            ResetStartPageTo = protection.Attribute("ResetStartPageTo");
    }
    // Stored passwords load even without the hot keys: the next save would lose them.
    const TXMLNode shortCuts = misc.FindNode("ShortCuts");
    if (shortCuts) LoadShortCuts(shortCuts);
    const TXMLNode passwords = misc.FindNode("Passwords");
    if (shortCuts || passwords) LoadPasswords(passwords);
}

void TMisc::LoadShortCuts(const TXMLNode& shortCuts) {
    // An absent attribute or a broken switch keeps the current value, so one bad
    // attribute never keeps the password list from loading. An empty text is a hot
    // key the user cleared.
    for (const TShortCutAttr& a : ShortCutAttrs) {
        if (!shortCuts.HasAttribute(a.Name)) continue;
        const std::string text = shortCuts.Attribute(a.Name);
        if (a.Key) {
            this->*a.Key = TextToShortCut(text);
            continue;
        }
        try {
            this->*a.Switch = XMLToBool(text);
        } catch (const EConvertError&) {
            LogSwallowed("TMisc::LoadShortCuts");
        }
    }
}

void TMisc::LoadPasswords(const TXMLNode& passwords) {
    Passwords.clear();
    PasswordDamage.clear();
    if (!passwords) return;
    // A fresh state in file order; an absent value does not advance it. After a value
    // that does not decode the state is lost: that entry keeps what came before it,
    // the entries after it stay in the file (kept aside as damaged), never scrambled.
    TSecretCipher cipher;
    const std::vector<TXMLNode> nodes = passwords.ChildNodes();
    for (size_t i = 0; i < nodes.size(); ++i) {
        auto entry = std::make_unique<TPasswordItem>();
        const bool whole = DecryptEntry(cipher, nodes[i], *entry);
        const std::string name =
            entry->Title.empty() ? "number " + IntToStr(int(i) + 1) : "\"" + entry->Title + "\"";
        Passwords.push_back(std::move(entry));
        if (whole) continue;
        const size_t after = nodes.size() - i - 1;
        PasswordDamage =
            "The stored password " + name + " could not be read whole" +
            (after == 0   ? std::string(".")
             : after == 1 ? "; the one after it was left out."
                          : "; the " + IntToStr(int(after)) + " after it were left out.");
        throw EConvertError(PasswordDamage);
    }
}

bool TMisc::DecryptEntry(TSecretCipher& cipher, const TXMLNode& node, TPasswordItem& entry) {
    for (size_t f = 0; f < 4; ++f) {
        if (!node.HasAttribute(PasswordAttrs[f])) continue;
        try {
            entry.*PasswordFields[f] = cipher.DecryptText(node.Attribute(PasswordAttrs[f]));
        } catch (const EConvertError&) {
            return false;
        }
    }
    return true;
}
