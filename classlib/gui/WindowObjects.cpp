#include "classlib/gui/WindowObjects.h"
#include "classlib/base/SysUtils.h"
#include <cstdio>
#include <unordered_map>

namespace {

thread_local TWindowCreation* Creating = nullptr;
// A copy of the properties this thread set, asked instead of them: under Wine every
// GetPropW is a round trip to the server, and it ran for every message.
thread_local std::unordered_map<HWND, TObject*> Objects;

// The atom as the property's name.
LPCWSTR PropertyName() {
    return reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(WindowObjectAtom()));
}

} // namespace

ATOM WindowObjectAtom() {
    static const ATOM atom = [] {
        wchar_t name[64];
        swprintf(
            name, 64, L"ControlOfs%.8llX%.8lX",
            static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
            static_cast<unsigned long>(GetCurrentThreadId()));
        return GlobalAddAtomW(name);
    }();
    return atom;
}

void SetWindowObject(HWND wnd, TObject* object) {
    if (object) {
        SetPropW(wnd, PropertyName(), object);
        Objects[wnd] = object;
    } else {
        RemovePropW(wnd, PropertyName());
        Objects.erase(wnd);
    }
}

TObject* WindowObject(HWND wnd) {
    if (!wnd) return nullptr;
    if (const auto found = Objects.find(wnd); found != Objects.end()) return found->second;
    TWindowCreation* creation = Creating;
    if (!creation || creation->FClaimed) return nullptr;
    // Only the window of the awaited class: a hook may ask about others meanwhile.
    wchar_t className[256] = {};
    GetClassNameW(wnd, className, 256);
    if (_wcsicmp(className, creation->FClassName.c_str()) != 0) return nullptr;
    creation->FClaimed = true;
    SetWindowObject(wnd, &creation->FObject);
    creation->FAttached(creation->FObject, wnd);
    return &creation->FObject;
}

TObject* WindowObjectInCreation() {
    return Creating && !Creating->FClaimed ? &Creating->FObject : nullptr;
}

TWindowCreation::TWindowCreation(TObject& object, const std::string& className,
                                 void (*attached)(TObject&, HWND))
    : FObject(object), FClassName(ToWide(className)), FAttached(attached), FPrevious(Creating) {
    Creating = this;
}

TWindowCreation::~TWindowCreation() {
    Creating = FPrevious;
}
