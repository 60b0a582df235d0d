#include "engine/erasers/EraseRegistry.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include "engine/CustomEraserEngine.h"
#include "engine/settings/XMLValues.h"
#include <algorithm>

namespace {

// The text a value holds; false when it has none.
bool ReadValueText(HKEY root, const std::string& key, const std::string& name, std::string& text) {
    TRegistry registry(KEY_READ);
    registry.RootKey = root;
    return registry.OpenKey(key, false) && registry.TryReadString(name, text);
}

} // namespace

void TEraseRegistry::AddKey(HKEY RootKey, const std::string& Key) {
    TEraserItem item;
    item.Kind = ikRegKey;
    item.RootKey = RootKey;
    item.Key = Key;
    Items.push_back(item);
}

void TEraseRegistry::AddValue(HKEY RootKey, const std::string& Key, const std::string& ValueName) {
    if (std::find(ExcludedValues.begin(), ExcludedValues.end(), ValueName) !=
            ExcludedValues.end() ||
        IsKeptText(RootKey, Key, ValueName))
        return;
    TEraserItem item;
    item.Kind = ikRegValue;
    item.RootKey = RootKey;
    item.Key = Key;
    item.ValueName = ValueName;
    Items.push_back(item);
}

bool TEraseRegistry::IsKeptText(HKEY RootKey, const std::string& Key,
                                const std::string& ValueName) const {
    std::string text;
    return !KeptTexts.empty() && ReadValueText(RootKey, Key, ValueName, text) &&
           std::any_of(KeptTexts.begin(), KeptTexts.end(),
                       [&](const std::string& kept) { return SameText(kept, text); });
}

// The key goes with everything below it, a link met on the way as itself.
bool TEraseRegistry::DeleteKey(HKEY RootKey, const std::string& Key) {
    TCustomEraserEngine& engine = Owner();
    const bool simulate = engine.SimulationMode;
    try {
        const TRegTreeKey deleted =
            DeleteRegKeyTree(RootKey, Key, 0, simulate, [&](const TRegTreeKey& key) {
                if (key.Link && !simulate)
                    engine.DoProgress(this, RegLinkLine(RootKey, key.Path, key.Deleted));
            });
        if (deleted.Found) ++engine.KeysErased;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// A link key's values are its target's: they stay, and the link is named.
bool TEraseRegistry::DeleteValue(HKEY RootKey, const std::string& Key,
                                 const std::string& ValueName) {
    if (Key.find_first_not_of('\\') == std::string::npos) return true; // never the root's
    TCustomEraserEngine& engine = Owner();
    try {
        TRegistry registry;
        registry.RootKey = RootKey;
        const TRegOpenResult opened = registry.OpenKeyItself(Key);
        if (opened == roLink) engine.DoProgress(this, RegLinkLine(RootKey, Key, false));
        if (opened != roOpened) return true;
        if (!engine.SimulationMode) registry.DeleteValue(ValueName);
        ++engine.ValuesErased;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TEraseRegistry::Erase() {
    TEraser::Erase();
    const TCustomEraserEngine& engine = Owner();
    for (const TEraserItem& item : Items) {
        if (engine.Cancelled) return;
        if (item.Kind == ikRegKey)
            DeleteKey(item.RootKey, item.Key);
        else if (item.Kind == ikRegValue)
            DeleteValue(item.RootKey, item.Key, item.ValueName);
    }
    DoAfterErase();
}

void TEraseRegistry::LoadFromXML(const TXMLNode& Parent) {
    // The kept entries first: a damaged "Enabled" must not lose them.
    const TXMLNode element = Parent.FindNode(Name);
    ReadItemList(element, "ExcludedValues", "Value", ExcludedValues);
    if (!TextsKey.empty()) {
        ReadItemList(element, "KeptTexts", "Text", KeptTexts);
        KeepNamedTexts();
    }
    TEraser::LoadFromXML(Parent);
}

// A name that holds no text now keeps nothing.
void TEraseRegistry::KeepNamedTexts() {
    for (const std::string& name : ExcludedValues) {
        std::string text;
        if (ReadValueText(HKEY_CURRENT_USER, TextsKey, name, text) &&
            std::find(KeptTexts.begin(), KeptTexts.end(), text) == KeptTexts.end())
            KeptTexts.push_back(text);
    }
    ExcludedValues.clear();
}

void TEraseRegistry::SaveToXML(TXMLNode Parent) {
    TEraser::SaveToXML(Parent);
    WriteItemList(FElement, "ExcludedValues", "Value", ExcludedValues);
    if (!TextsKey.empty()) WriteItemList(FElement, "KeptTexts", "Text", KeptTexts);
}
