#include "engine/EraseRegistry.h"
#include "classlib/base/Registry.h"
#include "engine/CustomEraserEngine.h"
#include <algorithm>

namespace {

bool NamesSubkey(const std::string& key) {
    return key.find_first_not_of('\\') != std::string::npos;
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
    if (!NamesSubkey(Key)) return true;
    TCustomEraserEngine& engine = Owner();
    try {
        TRegistry registry;
        registry.RootKey = RootKey;
        if (!registry.OpenKey(Key, false)) return true;
        registry.CloseKey();
        if (!engine.SimulationMode) registry.DeleteKey(Key);
        ++engine.KeysErased;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TEraseRegistry::DeleteValue(HKEY RootKey, const std::string& Key,
                                 const std::string& ValueName) {
    if (!NamesSubkey(Key)) return true;
    TCustomEraserEngine& engine = Owner();
    try {
        TRegistry registry;
        registry.RootKey = RootKey;
        if (!registry.OpenKey(Key, false)) return true;
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
    TEraser::LoadFromXML(Parent);
    const TXMLNode element = Parent.FindNode(Name);
    const TXMLNode excluded = element ? element.FindNode("ExcludedValues") : TXMLNode();
    if (!excluded) return;
    ExcludedValues.clear();
    for (const TXMLNode& item : excluded.ChildNodes())
        ExcludedValues.push_back(item.Attribute("Value"));
}

void TEraseRegistry::SaveToXML(TXMLNode Parent) {
    TEraser::SaveToXML(Parent);
    TXMLNode excluded = FElement.AddChild("ExcludedValues");
    for (const std::string& value : ExcludedValues)
        excluded.AddChild("Item").SetAttribute("Value", value);
}
