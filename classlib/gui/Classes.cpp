#include "classlib/gui/Classes.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/TypInfo.h"
#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <mutex>
#include <typeindex>
#include <unordered_map>

namespace {

void AddChain(const std::type_info& type, std::vector<const std::type_info*>& out) {
    out.push_back(&type);
    if (auto si = dynamic_cast<const abi::__si_class_type_info*>(&type)) {
        AddChain(*si->__base_type, out);
    } else if (auto vmi = dynamic_cast<const abi::__vmi_class_type_info*>(&type)) {
        for (unsigned i = 0; i < vmi->__base_count; ++i)
            AddChain(*vmi->__base_info[i].__base_type, out);
    }
}

std::string Demangled(const std::type_info& type) {
    int status = 0;
    char* name = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string result = status == 0 && name ? name : type.name();
    std::free(name);
    size_t scope = result.rfind("::"); // the bare class name, as the library's are
    return scope == std::string::npos ? result : result.substr(scope + 2);
}

// A class's name and chain, and the names along the chain.
struct TClassInfo {
    std::string Name;
    std::vector<const std::type_info*> Chain;
    std::vector<std::string> ChainNames;
};

// Made on a class's first question and kept: the skin asks every control often.
const TClassInfo& ClassInfoOf(const std::type_info& type) {
    static std::mutex lock;
    static std::unordered_map<std::type_index, std::unique_ptr<TClassInfo>> known;
    std::lock_guard<std::mutex> guard(lock);
    std::unique_ptr<TClassInfo>& info = known[std::type_index(type)];
    if (!info) {
        info = std::make_unique<TClassInfo>();
        info->Name = Demangled(type);
        AddChain(type, info->Chain);
        for (const std::type_info* link : info->Chain)
            info->ChainNames.push_back(Demangled(*link));
    }
    return *info;
}

[[maybe_unused]] const bool Registered = RegisterPublished<TComponent>({
    Published("Name", &TComponent::Name, &TComponent::SetName),
    Published("Tag", &TComponent::Tag, &TComponent::SetTag),
});

} // namespace

const std::vector<const std::type_info*>& ClassChain(const std::type_info& type) {
    return ClassInfoOf(type).Chain;
}

const std::string& ClassNameOf(const std::type_info& type) {
    return ClassInfoOf(type).Name;
}

const std::string& TObject::ClassName() const {
    return ClassNameOf(typeid(*this));
}

bool TObject::InheritsFrom(const std::string& className) const {
    const std::vector<std::string>& names = ClassInfoOf(typeid(*this)).ChainNames;
    return std::find(names.begin(), names.end(), className) != names.end();
}

void TPersistent::Assign(const TPersistent& source) {
    throw EConvertError("Cannot assign a " + source.ClassName() + " to a " + ClassName());
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    BeginDestroy();
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::BeginDestroy() {
    if (FDestroying) return;
    FDestroying = true;
    for (TComponent* c : FComponents)
        c->BeginDestroy();
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        RemoveComponent(last);
        delete last;
    }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (TComponent* c : FComponents)
        if (!name.empty() && CompareText(c->FName, name) == 0) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (component->FOwner) component->FOwner->RemoveComponent(component);
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::RemoveComponent(TComponent* component) {
    auto it = std::find(FComponents.begin(), FComponents.end(), component);
    if (it == FComponents.end()) return;
    FComponents.erase(it);
    component->FOwner = nullptr;
}
