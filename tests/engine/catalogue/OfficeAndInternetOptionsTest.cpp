// The Office and AutoComplete items through every step, against stand-ins made here
// that record what the engine does to them, in order.
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "engine/EngineTestSupport.h"
#include <gtest/gtest.h>

namespace {

using TRecord = std::vector<std::string>;
TRecord Record;

// An Office application ("Word" for Word.Application): every object (0 the application, 1
// RecentFiles, 2 an entry) knows only its own members, and delete number FailingDelete fails.
struct TOffice {
    std::string App;
    int Count, FailingDelete, Deletes = 0;
};
constexpr const char* Members[] = {"RecentFiles", "Item", "Count", "Delete", "Quit"};
constexpr int Owners[] = {0, 1, 1, 2, 0};

class TOfficeObject final : public IDispatch, public IClassFactory {
public:
    TOfficeObject(TOffice& office, int role) : FOffice(office), FRole(role) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = iid == IID_IClassFactory ? static_cast<void*>(static_cast<IClassFactory*>(this))
               : iid == IID_IDispatch || iid == IID_IUnknown ? static_cast<IDispatch*>(this)
                                                             : nullptr;
        return *out ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefs; }
    ULONG STDMETHODCALLTYPE Release() override { return --FRefs ? FRefs : (delete this, 0); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID,
                                            DISPID* id) override {
        for (*id = 0; *id < 5; ++*id)
            if (ToUtf8(names[0]) == Members[*id] && Owners[*id] == FRole) return S_OK;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        const bool fails = id == 3 && ++FOffice.Deletes == FOffice.FailingDelete;
        const int shown = id == 1 ? params->rgvarg[0].lVal : FOffice.Count;
        std::string line = FOffice.App + " " + Members[id] + (fails ? " fails" : "");
        if (id == 1 || id == 2) line.append(" ").append(IntToStr(shown));
        Record.push_back(line);
        FOffice.Count -= id == 3 && !fails;
        if (id == 2) result->vt = VT_I4, result->lVal = FOffice.Count;
        if (id < 2) result->vt = VT_DISPATCH, result->pdispVal = new TOfficeObject(FOffice, id + 1);
        return fails ? E_FAIL : S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** out) override {
        return QueryInterface(iid, out); // the factory is the application too
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    TOffice& FOffice;
    int FRole;
    ULONG FRefs = 1;
};

TEST(OfficeRecentFiles, EachListIsEmptiedAndItsApplicationQuitsEvenAfterAFailure) {
    TCoInitScope com;
    TOffice offices[] = {{"Word", 2, 0}, {"Excel", 3, 2}};
    DWORD cookies[2];
    for (int i = 0; i < 2; ++i) {
        CLSID clsid;
        wchar_t text[40];
        CoCreateGuid(&clsid);
        StringFromGUID2(clsid, text, 40);
        // Wine looks program ids up in the machine's classes only.
        WriteRegString(HKEY_CLASSES_ROOT, offices[i].App + ".Application\\CLSID", "", ToUtf8(text));
        auto* factory = new TOfficeObject(offices[i], 0);
        CoRegisterClassObject(clsid, static_cast<IClassFactory*>(factory),
                              CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                              &cookies[i]);
        factory->Release();
    }
    TTestEngine engine;
    engine.EnableOnly({ciEraseMSOfficeHistory});
    engine.Run(true);
    EXPECT_EQ(Record, TRecord{}); // simulation calls nothing
    engine.Run(false);
    EXPECT_EQ(Record,
              (TRecord{"Word RecentFiles", "Word Count 2", "Word Item 1", "Word Delete",
                       "Word Count 1", "Word Item 1", "Word Delete", "Word Count 0", "Word Quit",
                       "Excel RecentFiles", "Excel Count 3", "Excel Item 1", "Excel Delete",
                       "Excel Count 2", "Excel Item 1", "Excel Delete fails", "Excel Quit"}));
    for (int i = 0; i < 2; ++i) {
        CoRevokeClassObject(cookies[i]);
        DeleteRegKey(HKEY_CLASSES_ROOT, offices[i].App + ".Application");
    }
    Record.clear();
}

// The Internet Options dialogs, hidden, on this thread: a press is recorded as "title:
// caption". Cancel on the properties makes them anew; the one titled Missing never shows.
std::string Missing;
HWND ShowDialog(const char* title, std::initializer_list<const char*> buttons, HWND parent);

void ShowProperties() {
    ShowDialog("Content", {"A&utoComplete..."}, ShowDialog("Internet Properties", {"Cancel"}, 0));
}

INT_PTR CALLBACK PressDialog(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
    if (msg != WM_COMMAND) return FALSE;
    wchar_t title[64] = {}, button[64] = {};
    GetWindowTextW(dialog, title, 64);
    GetWindowTextW(reinterpret_cast<HWND>(lParam), button, 64);
    Record.push_back(ToUtf8(title) + ": " + ToUtf8(button));
    if (Record.back().ends_with("A&utoComplete..."))
        ShowDialog("AutoComplete Settings", {"&Clear Forms", "C&lear Passwords", "Cancel"}, 0);
    else if (Record.back().ends_with("OK") || Record.back().ends_with("Cancel"))
        DestroyWindow(dialog);
    else
        ShowDialog("Internet Options", {"OK"}, 0);
    if (Record.back() == "Internet Properties: Cancel") ShowProperties();
    return TRUE;
}

HWND ShowDialog(const char* title, std::initializer_list<const char*> buttons, HWND parent) {
    if (Missing == title) return nullptr;
    HWND dialog = CreateWindowExW(0, L"#32770", ToWide(title).c_str(), parent ? WS_CHILD : 0, 0, 0,
                                  300, 200, parent, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&PressDialog));
    static INT_PTR ids = 100;
    for (const char* caption : buttons)
        CreateWindowExW(0, L"Button", ToWide(caption).c_str(), WS_CHILD, 0, 0, 80, 20, dialog,
                        reinterpret_cast<HMENU>(++ids), nullptr, nullptr);
    return dialog;
}

TEST(AutoCompleteClearing, EveryDialogIsDrivenInOrderAndAMissingOneEndsIt) {
    TTestEngine engine;
    engine.OnProcessMessages = [] { Application->ProcessMessages(); };
    engine.EnableOnly({ciIEEraseAutoCompleteFormsData, ciIEEraseAutoCompletePaswords});
    ShowProperties();
    EXPECT_EQ(
        engine.Run(false),
        RunLog({ciIEEraseAutoCompleteFormsData, ciIEEraseAutoCompletePaswords}, 2, 0, 0, 0, "0 B"));
    const TRecord item = {"Internet Properties: A&utoComplete...", "Internet Options: OK",
                          "AutoComplete Settings: Cancel", "Internet Properties: Cancel"};
    EXPECT_EQ(Record, (TRecord{item[0], "AutoComplete Settings: &Clear Forms", item[1], item[2],
                               item[3], item[0], "AutoComplete Settings: C&lear Passwords", item[1],
                               item[2], item[3]}));
    Record.clear();
    Missing = "AutoComplete Settings";
    engine.EnableOnly({ciIEEraseAutoCompleteFormsData});
    EXPECT_EQ(engine.Run(false)[5], "Erasing Internet Explorer Auto Complete Forms Data failed.");
    EXPECT_EQ(Record, (TRecord{item[0], item[3]}));
    DestroyWindow(FindWindowW(L"#32770", L"Internet Properties"));
}

} // namespace
