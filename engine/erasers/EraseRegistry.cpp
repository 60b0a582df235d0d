#include "engine/erasers/EraseRegistry.h"
#include "classlib/base/Registry.h"
#include "engine/CustomEraserEngine.h"
#include "engine/settings/XMLValues.h"
#include <algorithm>
#include <functional>

namespace {

bool NamesSubkey(const std::string& key) {
    return key.find_first_not_of('\\') != std::string::npos;
}

// Opens Key under RootKey and, unless only simulating, runs `erase` on it; counts it in
// `erased` either way. A missing key (or the root key itself) is nothing to do; false only
// where the registry refuses.
bool EraseInKey(HKEY RootKey, const std::string& Key, bool simulate, int& erased,
                const std::function<void(TRegistry&)>& erase) {
    if (!NamesSubkey(Key)) return true;
    try {
        TRegistry registry;
        registry.RootKey = RootKey;
        if (!registry.OpenKey(Key, false)) return true;
        if (!simulate) erase(registry);
        ++erased;
        return true;
    } catch (const std::exception&) {
        return false;
    }
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
    if (std::find(ExcludedValues.begin(), ExcludedValues.end(), ValueName) != ExcludedValues.end())
        return;
    TEraserItem item;
    item.Kind = ikRegValue;
    item.RootKey = RootKey;
    item.Key = Key;
    item.ValueName = ValueName;
    Items.push_back(item);
}

bool TEraseRegistry::DeleteKey(HKEY RootKey, const std::string& Key) {
    TCustomEraserEngine& engine = Owner();
    return EraseInKey(RootKey, Key, engine.SimulationMode, engine.KeysErased,
                      [&](TRegistry& registry) {
                          registry.CloseKey();
                          registry.DeleteKey(Key);
                      });
}

bool TEraseRegistry::DeleteValue(HKEY RootKey, const std::string& Key,
                                 const std::string& ValueName) {
    TCustomEraserEngine& engine = Owner();
    return EraseInKey(RootKey, Key, engine.SimulationMode, engine.ValuesErased,
                      [&](TRegistry& registry) { registry.DeleteValue(ValueName); });
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
    // The kept names first: a damaged "Enabled" must not lose them.
    ReadItemList(Parent.FindNode(Name), "ExcludedValues", "Value", ExcludedValues);
    TEraser::LoadFromXML(Parent);
}

void TEraseRegistry::SaveToXML(TXMLNode Parent) {
    TEraser::SaveToXML(Parent);
    WriteItemList(FElement, "ExcludedValues", "Value", ExcludedValues);
}
