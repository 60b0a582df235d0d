#include "engine/catalogue/OfficeAutomation.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include <oleauto.h>

namespace {

// One automation object reached through IDispatch by member names.
class TAutoObject {
public:
    explicit TAutoObject(TComPtr<IDispatch> disp) : FDisp(std::move(disp)) {}

    // Calls a method or reads a property (flags) with up to one integer argument.
    VARIANT Invoke(const wchar_t* name, WORD flags, const VARIANT* arg = nullptr) const {
        LPOLESTR member = const_cast<LPOLESTR>(name);
        DISPID id = 0;
        OleCheck(FDisp->GetIDsOfNames(IID_NULL, &member, 1, LOCALE_USER_DEFAULT, &id));
        VARIANT args[1];
        if (arg) args[0] = *arg;
        DISPPARAMS params{args, nullptr, arg ? 1u : 0u, 0};
        VARIANT result;
        VariantInit(&result);
        OleCheck(FDisp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, nullptr,
                               nullptr));
        return result;
    }

    [[nodiscard]] TAutoObject Object(const wchar_t* name, const VARIANT* arg = nullptr) const {
        VARIANT v = Invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, arg);
        if (v.vt != VT_DISPATCH || !v.pdispVal) {
            VariantClear(&v);
            throw Exception("not an object");
        }
        TComPtr<IDispatch> disp;
        *disp.Out() = v.pdispVal; // takes the reference the variant held
        return TAutoObject(std::move(disp));
    }

    [[nodiscard]] int Integer(const wchar_t* name) const {
        VARIANT v = Invoke(name, DISPATCH_PROPERTYGET);
        VARIANT i;
        VariantInit(&i);
        const HRESULT hr = VariantChangeType(&i, &v, 0, VT_I4);
        VariantClear(&v);
        OleCheck(hr);
        return i.lVal;
    }

    void Call(const wchar_t* name) const {
        VARIANT v = Invoke(name, DISPATCH_METHOD);
        VariantClear(&v);
    }

private:
    TComPtr<IDispatch> FDisp;
};

void ClearList(const TAutoObject& app) {
    const TAutoObject recent = app.Object(L"RecentFiles");
    VARIANT first;
    VariantInit(&first);
    first.vt = VT_I4;
    first.lVal = 1;
    // Stops when a deletion does not shorten the list, instead of looping forever.
    for (int count = recent.Integer(L"Count"), last = count + 1; count != 0 && count < last;
         last = count, count = recent.Integer(L"Count"))
        recent.Object(L"Item", &first).Call(L"Delete");
}

} // namespace

void ClearRecentFiles(const char* progId) {
    TCoInitScope com;
    try {
        CLSID clsid;
        OleCheck(CLSIDFromProgID(ToWide(progId).c_str(), &clsid));
        TComPtr<IDispatch> disp;
        OleCheck(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                  IID_IDispatch, disp.OutVoid()));
        const TAutoObject app(std::move(disp));
        try {
            ClearList(app);
        } catch (const Exception&) {
            LogSwallowed("ClearRecentFiles");
        }
        app.Call(L"Quit");
    } catch (const Exception&) {
        // Not installed, or a call failed: the item goes on silently.
        LogSwallowed("ClearRecentFiles");
    }
}
