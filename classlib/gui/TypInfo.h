#pragma once
// The published-property registry: per class, a list of name -> typed getter and
// setter, found by name along the class chain (names compared without case).
// As text, Booleans read "True"/"False", enumerations by their names ("taCenter") and
// integers are decimal.
#include "classlib/gui/Classes.h"
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <variant>
#include <vector>

enum TTypeKind { tkInteger, tkBoolean, tkString, tkClass, tkEnumeration };

using TPropValue = std::variant<int64_t, bool, std::string, TObject*>;

struct TPropInfo {
    std::string Name;
    TTypeKind Kind;
    std::function<TPropValue(const TObject&)> Get;
    std::function<void(TObject&, const TPropValue&)> Set; // empty: read-only
    std::vector<std::string> EnumNames;                   // tkEnumeration: by value
};

class EPropertyError : public Exception {
    using Exception::Exception;
};

void RegisterProperties(const std::type_info& cls, std::vector<TPropInfo> props);
template <class T> bool RegisterPublished(std::vector<TPropInfo> props) {
    RegisterProperties(typeid(T), std::move(props));
    return true;
}

// Builds a property from a getter and a setter of class T. The value type gives the
// kind: bool, std::string, an integral or enumeration type, or a pointer to a TObject.
template <class T, class G, class S>
TPropInfo Published(const char* name, G (T::*get)() const, void (T::*set)(S)) {
    using V = std::decay_t<G>;
    TPropInfo info;
    info.Name = name;
    if constexpr (std::is_same_v<V, bool>)
        info.Kind = tkBoolean;
    else if constexpr (std::is_same_v<V, std::string>)
        info.Kind = tkString;
    else if constexpr (std::is_pointer_v<V>)
        info.Kind = tkClass;
    else
        info.Kind = tkInteger;
    info.Get = [get](const TObject& obj) -> TPropValue {
        V v = (static_cast<const T&>(obj).*get)();
        if constexpr (std::is_same_v<V, bool> || std::is_same_v<V, std::string>)
            return v;
        else if constexpr (std::is_pointer_v<V>)
            return static_cast<TObject*>(v);
        else
            return static_cast<int64_t>(v);
    };
    if (set) {
        info.Set = [set](TObject& obj, const TPropValue& value) {
            T& self = static_cast<T&>(obj);
            if constexpr (std::is_same_v<V, bool> || std::is_same_v<V, std::string>)
                (self.*set)(std::get<V>(value));
            else if constexpr (std::is_pointer_v<V>)
                (self.*set)(dynamic_cast<V>(std::get<TObject*>(value)));
            else
                (self.*set)(static_cast<V>(std::get<int64_t>(value)));
        };
    }
    return info;
}
template <class T, class G> TPropInfo Published(const char* name, G (T::*get)() const) {
    return Published<T, G, G>(name, get, static_cast<void (T::*)(G)>(nullptr));
}

// An enumeration property: its values are integers, its text the names, in order.
template <class T, class G, class S>
TPropInfo Published(const char* name, G (T::*get)() const, void (T::*set)(S),
                    std::vector<std::string> enumNames) {
    TPropInfo info = Published(name, get, set);
    info.Kind = tkEnumeration;
    info.EnumNames = std::move(enumNames);
    return info;
}

// nullptr when the object's class chain publishes no such property.
const TPropInfo* GetPropInfo(const TObject& obj, const std::string& name);
bool IsPublishedProp(const TObject& obj, const std::string& name);

// EPropertyError when the property is missing, read-only (setters) or of another kind.
TPropValue GetProp(const TObject& obj, const std::string& name);
void SetProp(TObject& obj, const std::string& name, const TPropValue& value);
int64_t GetOrdProp(const TObject& obj, const std::string& name); // integers and Booleans
void SetOrdProp(TObject& obj, const std::string& name, int64_t value);
std::string GetStrProp(const TObject& obj, const std::string& name);
void SetStrProp(TObject& obj, const std::string& name, const std::string& value);
TObject* GetObjectProp(const TObject& obj, const std::string& name);

// Any property as text. Setting a Boolean accepts "True"/"False" in any letter case
// or a number (0 false); an enumeration its name in any letter case or a number;
// an integer a number (EConvertError otherwise).
std::string GetPropValue(const TObject& obj, const std::string& name);
void SetPropValue(TObject& obj, const std::string& name, const std::string& value);
