#include "classlib/gui/TypInfo.h"
#include "classlib/base/SysUtils.h"
#include <map>
#include <typeindex>

namespace {

std::map<std::type_index, std::vector<TPropInfo>>& Registry() {
    static std::map<std::type_index, std::vector<TPropInfo>> registry;
    return registry;
}

const TPropInfo& FindProp(const TObject& obj, const std::string& name) {
    const TPropInfo* info = GetPropInfo(obj, name);
    if (!info) throw EPropertyError("Property " + name + " does not exist");
    return *info;
}

const TPropInfo& FindWritable(const TObject& obj, const std::string& name) {
    const TPropInfo& info = FindProp(obj, name);
    if (!info.Set) throw EPropertyError("Property " + name + " is read-only");
    return info;
}

int64_t ToOrd(const TPropValue& v, const std::string& name) {
    if (auto i = std::get_if<int64_t>(&v)) return *i;
    if (auto b = std::get_if<bool>(&v)) return *b ? 1 : 0;
    throw EPropertyError("Property " + name + " is not ordinal");
}

bool TextToBool(const std::string& text) {
    if (SameText(text, "True")) return true;
    if (SameText(text, "False")) return false;
    return StrToInt64(text) != 0;
}

int64_t EnumValue(const TPropInfo& info, const std::string& text) {
    for (size_t i = 0; i < info.EnumNames.size(); ++i)
        if (SameText(info.EnumNames[i], text)) return static_cast<int64_t>(i);
    return StrToInt64(text);
}

} // namespace

void RegisterProperties(const std::type_info& cls, std::vector<TPropInfo> props) {
    auto& list = Registry()[std::type_index(cls)];
    for (auto& p : props)
        list.push_back(std::move(p));
}

const TPropInfo* GetPropInfo(const TObject& obj, const std::string& name) {
    const auto& registry = Registry();
    for (const std::type_info* type : ClassChain(typeid(obj))) {
        auto it = registry.find(std::type_index(*type));
        if (it == registry.end()) continue;
        for (const TPropInfo& info : it->second)
            if (SameText(info.Name, name)) return &info;
    }
    return nullptr;
}

bool IsPublishedProp(const TObject& obj, const std::string& name) {
    return GetPropInfo(obj, name) != nullptr;
}

TPropValue GetProp(const TObject& obj, const std::string& name) {
    return FindProp(obj, name).Get(obj);
}

void SetProp(TObject& obj, const std::string& name, const TPropValue& value) {
    const TPropInfo& info = FindWritable(obj, name);
    static constexpr TTypeKind kindOf[] = {tkInteger, tkBoolean, tkString, tkClass};
    TTypeKind kind = info.Kind == tkEnumeration ? tkInteger : info.Kind;
    if (kindOf[value.index()] != kind) {
        if (kind == tkInteger && value.index() == 1) return info.Set(obj, ToOrd(value, name));
        if (info.Kind == tkBoolean && value.index() == 0)
            return info.Set(obj, ToOrd(value, name) != 0);
        throw EPropertyError("Invalid property type for " + name);
    }
    info.Set(obj, value);
}

int64_t GetOrdProp(const TObject& obj, const std::string& name) {
    return ToOrd(GetProp(obj, name), name);
}

void SetOrdProp(TObject& obj, const std::string& name, int64_t value) {
    SetProp(obj, name, TPropValue(value));
}

std::string GetStrProp(const TObject& obj, const std::string& name) {
    TPropValue v = GetProp(obj, name);
    if (auto s = std::get_if<std::string>(&v)) return *s;
    throw EPropertyError("Property " + name + " is not a string");
}

void SetStrProp(TObject& obj, const std::string& name, const std::string& value) {
    SetProp(obj, name, TPropValue(value));
}

TObject* GetObjectProp(const TObject& obj, const std::string& name) {
    TPropValue v = GetProp(obj, name);
    if (auto o = std::get_if<TObject*>(&v)) return *o;
    throw EPropertyError("Property " + name + " is not an object");
}

std::string GetPropValue(const TObject& obj, const std::string& name) {
    const TPropInfo& info = FindProp(obj, name);
    TPropValue v = info.Get(obj);
    if (info.Kind == tkEnumeration) {
        int64_t i = std::get<int64_t>(v);
        bool named = i >= 0 && i < static_cast<int64_t>(info.EnumNames.size());
        return named ? info.EnumNames[i] : IntToStr(i);
    }
    switch (v.index()) {
    case 0: return IntToStr(std::get<int64_t>(v));
    case 1: return std::get<bool>(v) ? "True" : "False";
    case 2: return std::get<std::string>(v);
    default: throw EPropertyError("Property " + name + " has no text form");
    }
}

void SetPropValue(TObject& obj, const std::string& name, const std::string& value) {
    const TPropInfo& info = FindWritable(obj, name);
    switch (info.Kind) {
    case tkInteger: return info.Set(obj, StrToInt64(value));
    case tkBoolean: return info.Set(obj, TextToBool(value));
    case tkString: return info.Set(obj, value);
    case tkEnumeration: return info.Set(obj, EnumValue(info, value));
    case tkClass: throw EPropertyError("Property " + name + " has no text form");
    }
}
