#include "components/OneInstance/OneInstance.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/WindowText.h"

namespace {
struct TSearch {
    HWND Own;
    std::string ClassName;
    std::string Title;
    HWND Other = nullptr;
};

// The last top-level window other than ours with the same class name and title.
BOOL CALLBACK FindOther(HWND wnd, LPARAM param) {
    auto& search = *reinterpret_cast<TSearch*>(param);
    if (wnd != search.Own && GetClassNameStr(wnd) == search.ClassName &&
        GetWindowTextStr(wnd) == search.Title)
        search.Other = wnd;
    return TRUE;
}

std::string MutexName(const std::string& className, const std::string& title) {
    uint64_t hash = 14695981039346656037ull; // FNV-1a of class, NUL, title
    for (const char c : className + '\0' + title)
        hash = (hash ^ static_cast<uint8_t>(c)) * 1099511628211ull;
    return "TOneInstance." + IntToHex(hash, 16);
}

void SendArguments(HWND target) {
    const std::string arguments = TOneInstance::ArgumentsToSend();
    if (arguments.empty()) return;
    const ATOM atom = GlobalAddAtomW(ToWide(arguments).c_str()); // 0 beyond 255 characters
    SendMessageW(target, TOneInstance::WM_ONEINSTANCE, atom, 0);
    if (atom) GlobalDeleteAtom(atom);
}
} // namespace

std::string TOneInstance::ArgumentsToSend() {
    std::string s;
    for (int i = 1; i <= ParamCount(); ++i) {
        s += ParamStr(i) + " ";
        if (UpperCase(s).find(".EXE") != std::string::npos) s.clear();
    }
    return s;
}

TOneInstance::TOneInstance(TComponent* owner) : TComponent(owner) {
    const HWND app = Application->Handle();
    TSearch search{app, GetClassNameStr(app), GetWindowTextStr(app)};
    FMutex.Reset(
        CreateMutexW(nullptr, FALSE, ToWide(MutexName(search.ClassName, search.Title)).c_str()));
    if (GetLastError() != ERROR_ALREADY_EXISTS) return;
    EnumWindows(FindOther, reinterpret_cast<LPARAM>(&search));
    if (!search.Other) return; // the other instance is ending: this one goes on

    const HWND popup = GetLastActivePopup(search.Other);
    SendArguments(popup);
    BringWindowToTop(search.Other);
    if (IsIconic(popup))
        ShowWindow(popup, SW_RESTORE);
    else
        SetForegroundWindow(popup);
    Found = true;
}
