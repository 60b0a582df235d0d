// The Office and AutoComplete items through every step, against stand-ins made here:
// an automation server registered as "Word.Application" and "Excel.Application", and
// the Internet Options dialogs. Both record what the engine did to them, in order.
#include "classlib/base/SysUtils.h"
#include "engine/EngineTestSupport.h"
#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace {

using TRecord = std::vector<std::string>;

// One object of the stand-in Office application: the application, its RecentFiles
// list or one of its entries. Delete number FailingDelete fails.
struct TOfficeState {
    std::string App;
    int Count = 0, FailingDelete = 0, Deletes = 0;
    TRecord* Record;
};

class TOfficeObject final : public IDispatch {
public:
    enum TRole { App, List, Entry };
    TOfficeObject(TOfficeState& state, TRole role) : FState(state), FRole(role) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = iid == IID_IUnknown || iid == IID_IDispatch ? this : nullptr;
        if (*out) AddRef();
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefs; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG refs = --FRefs;
        if (!refs) delete this;
        return refs;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID,
                                            DISPID* id) override {
        const std::string name = ToUtf8(names[0]);
        for (DISPID i = 0; i < 5; ++i)
            if (name == Members[i] && Owners[i] == FRole) return *id = i, S_OK;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        std::string call = Members[id];
        if (id == 1) call.append("(").append(IntToStr(params->cArgs ? params->rgvarg[0].lVal : -1));
        if (id == 1) call.append(")");
        if (id == 2) call.append(" ").append(IntToStr(FState.Count));
        if (id == 3 && ++FState.Deletes == FState.FailingDelete) call += " fails";
        FState.Record->push_back(FState.App + " " + call);
        if (id == 3 && FState.Deletes == FState.FailingDelete) return E_FAIL;
        if (id == 3) --FState.Count;
        if (id == 2) result->vt = VT_I4, result->lVal = FState.Count;
        if (id == 0 || id == 1) {
            result->vt = VT_DISPATCH;
            result->pdispVal = new TOfficeObject(FState, id == 0 ? List : Entry);
        }
        return S_OK;
    }

private:
    static constexpr const char* Members[] = {"RecentFiles", "Item", "Count", "Delete", "Quit"};
    static constexpr TRole Owners[] = {App, List, List, Entry, App};
    TOfficeState& FState;
    TRole FRole;
    ULONG FRefs = 1;
};

// Registers the application's class for this process under its program id.
class TOfficeServer : public IClassFactory {
public:
    explicit TOfficeServer(TOfficeState state) : FState(std::move(state)) {
        CoCreateGuid(&FClsid);
        wchar_t clsid[40];
        StringFromGUID2(FClsid, clsid, 40);
        // Wine looks program ids up in the machine's classes only.
        WriteRegString(HKEY_CLASSES_ROOT, FState.App + "\\CLSID", "", ToUtf8(clsid));
        CoRegisterClassObject(FClsid, this, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                              REGCLS_MULTIPLEUSE, &FCookie);
    }
    ~TOfficeServer() {
        CoRevokeClassObject(FCookie);
        DeleteRegKey(HKEY_CLASSES_ROOT, FState.App);
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = iid == IID_IUnknown || iid == IID_IClassFactory ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** out) override {
        auto* app = new TOfficeObject(FState, TOfficeObject::App);
        const HRESULT hr = app->QueryInterface(iid, out);
        app->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    TOfficeState FState;
    CLSID FClsid;
    DWORD FCookie = 0;
};

TEST(OfficeRecentFiles, EachListIsEmptiedAndItsApplicationQuitsEvenAfterAFailure) {
    TCoInitScope com;
    TRecord record;
    TOfficeServer word({.App = "Word.Application", .Count = 2, .Record = &record});
    TOfficeServer excel(
        {.App = "Excel.Application", .Count = 3, .FailingDelete = 2, .Record = &record});
    TTestEngine engine;
    engine.EnableOnly({ciEraseMSOfficeHistory});
    engine.Run(true);
    EXPECT_EQ(record, TRecord{}); // simulation calls nothing
    engine.Run(false);
    EXPECT_EQ(record, (TRecord{"Word.Application RecentFiles", "Word.Application Count 2",
                               "Word.Application Item(1)", "Word.Application Delete",
                               "Word.Application Count 1", "Word.Application Item(1)",
                               "Word.Application Delete", "Word.Application Count 0",
                               "Word.Application Quit", "Excel.Application RecentFiles",
                               "Excel.Application Count 3", "Excel.Application Item(1)",
                               "Excel.Application Delete", "Excel.Application Count 2",
                               "Excel.Application Item(1)", "Excel.Application Delete fails",
                               "Excel.Application Quit"}));
}

// The Internet Options dialogs, made by a thread of their own, hidden: each press is
// recorded as "title: caption". Cancel on the properties makes them anew for the next
// item; the dialog titled Missing never appears.
class TOptionsDialogs {
public:
    explicit TOptionsDialogs(std::string missing) : FMissing(std::move(missing)) {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        FThread = std::thread([this, ready] {
            FThreadId = GetCurrentThreadId();
            ShowProperties();
            SetEvent(ready);
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                DispatchMessageW(&msg);
        });
        WaitForSingleObject(ready, INFINITE);
        CloseHandle(ready);
    }
    ~TOptionsDialogs() {
        PostThreadMessageW(FThreadId, WM_QUIT, 0, 0);
        FThread.join();
    }
    TRecord Presses;

private:
    HWND Show(const char* title, std::initializer_list<const char*> buttons,
              HWND parent = nullptr) {
        if (FMissing == title) return nullptr;
        HWND dialog =
            CreateWindowExW(0, L"#32770", ToWide(title).c_str(), parent ? WS_CHILD : WS_CAPTION, 0,
                            0, 300, 200, parent, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&Proc));
        int id = 100;
        for (const char* caption : buttons)
            CreateWindowExW(0, L"Button", ToWide(caption).c_str(), WS_CHILD, 0, 0, 80, 20, dialog,
                            reinterpret_cast<HMENU>(
                                INT_PTR(caption == std::string("Cancel") ? IDCANCEL : id++)),
                            nullptr, nullptr);
        return dialog;
    }
    void ShowProperties() {
        Show("Content", {"A&utoComplete..."}, Show("Internet Properties", {"Cancel"}));
    }
    static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
        if (msg != WM_COMMAND) return FALSE;
        auto* self = reinterpret_cast<TOptionsDialogs*>(GetWindowLongPtrW(dialog, DWLP_USER));
        const std::string title = WindowText(dialog),
                          button = lParam ? WindowText(reinterpret_cast<HWND>(lParam)) : "none";
        self->Presses.push_back(title + ": " + button);
        if (button == "A&utoComplete...")
            self->Show("AutoComplete Settings", {"&Clear Forms", "C&lear Passwords", "Cancel"});
        else if (button == "OK" || button == "Cancel") {
            DestroyWindow(dialog);
            if (title == "Internet Properties") self->ShowProperties();
        } else if (title == "AutoComplete Settings")
            self->Show("Internet Options", {"OK"});
        return TRUE;
    }
    static std::string WindowText(HWND wnd) {
        wchar_t text[64] = {};
        GetWindowTextW(wnd, text, 64);
        return ToUtf8(text);
    }

    std::string FMissing;
    std::thread FThread;
    DWORD FThreadId = 0;
};

TEST(AutoCompleteClearing, EveryDialogIsDrivenInOrderAndAMissingOneEndsIt) {
    TTestEngine engine;
    engine.EnableOnly({ciIEEraseAutoCompleteFormsData, ciIEEraseAutoCompletePaswords});
    {
        TOptionsDialogs dialogs("");
        EXPECT_EQ(engine.Run(false),
                  RunLog({ciIEEraseAutoCompleteFormsData, ciIEEraseAutoCompletePaswords}, 2, 0, 0,
                         0, "0 B"));
        EXPECT_EQ(
            dialogs.Presses,
            (TRecord{"Internet Properties: A&utoComplete...", "AutoComplete Settings: &Clear Forms",
                     "Internet Options: OK", "AutoComplete Settings: Cancel",
                     "Internet Properties: Cancel", "Internet Properties: A&utoComplete...",
                     "AutoComplete Settings: C&lear Passwords", "Internet Options: OK",
                     "AutoComplete Settings: Cancel", "Internet Properties: Cancel"}));
    }
    engine.EnableOnly({ciIEEraseAutoCompleteFormsData});
    TOptionsDialogs dialogs("AutoComplete Settings");
    EXPECT_EQ(engine.Run(false)[5], "Erasing Internet Explorer Auto Complete Forms Data failed.");
    EXPECT_EQ(dialogs.Presses,
              (TRecord{"Internet Properties: A&utoComplete...", "Internet Properties: Cancel"}));
}

} // namespace
