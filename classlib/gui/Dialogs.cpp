#include "classlib/gui/Dialogs.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include <commdlg.h>
#include <shlobj.h>

namespace {

// "a|b|c|d" -> "a\0b\0c\0d\0\0", as the dialog wants its filter.
std::wstring FilterList(const std::string& filter) {
    std::wstring list = ToWide(filter);
    for (wchar_t& c : list)
        if (c == L'|') c = L'\0';
    return list + std::wstring(2, L'\0');
}

const wchar_t* OrNull(const std::wstring& s) {
    return s.empty() ? nullptr : s.c_str();
}

// The common dialogs' library is loaded when a file dialog first opens, and kept: at
// start it would bring in the printing support with it (under Wine, CUPS and the
// libraries it links, some 5 MB of the working set).
BOOL RunFileDialog(bool save, OPENFILENAMEW& ofn) {
    using TFileDialogProc = BOOL(WINAPI*)(LPOPENFILENAMEW);
    static const HMODULE comdlg = LoadLibraryW(L"comdlg32.dll");
    if (!comdlg) return FALSE;
    auto run = reinterpret_cast<TFileDialogProc>(reinterpret_cast<void*>(
        GetProcAddress(comdlg, save ? "GetSaveFileNameW" : "GetOpenFileNameW")));
    return run && run(&ofn);
}

DWORD DialogFlags(unsigned options) {
    DWORD flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (options & ofHideReadOnly) flags |= OFN_HIDEREADONLY;
    if (options & ofAllowMultiSelect) flags |= OFN_ALLOWMULTISELECT;
    if (options & ofPathMustExist) flags |= OFN_PATHMUSTEXIST;
    if (options & ofFileMustExist) flags |= OFN_FILEMUSTEXIST;
    if (options & ofOverwritePrompt) flags |= OFN_OVERWRITEPROMPT;
    if (options & ofEnableSizing) flags |= OFN_ENABLESIZING;
    if (options & ofNoDereferenceLinks) flags |= OFN_NODEREFERENCELINKS;
    return flags;
}

} // namespace

bool TOpenDialog::Run(bool save) {
    std::vector<wchar_t> buffer(65536, L'\0');
    ToWide(FileName).copy(buffer.data(), buffer.size() - 2);
    const std::wstring filter = FilterList(Filter);
    const std::wstring initialDir = ToWide(InitialDir), title = ToWide(Title);
    const std::wstring defaultExt = ToWide(DefaultExt);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = GetActiveWindow() ? GetActiveWindow() : Application->Handle();
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = OrNull(initialDir);
    ofn.lpstrTitle = OrNull(title);
    ofn.lpstrDefExt = OrNull(defaultExt);
    ofn.Flags = DialogFlags(Options);
    if (!RunFileDialog(save, ofn)) return false;
    ReadChoice(buffer);
    return true;
}

// One full path, or (several files) the folder followed by the names, each ended by
// a zero byte, the list by a second one. Only the multiple-selection dialog ends with
// that second zero: the single one leaves the rest of a longer offered name behind it.
void TOpenDialog::ReadChoice(const std::vector<wchar_t>& buffer) {
    FFiles.clear();
    std::vector<std::wstring> parts{buffer.data()};
    if ((Options & ofAllowMultiSelect) && !parts[0].empty())
        for (const wchar_t* p = buffer.data() + parts[0].size() + 1; *p;
             p += parts.back().size() + 1)
            parts.emplace_back(p);
    if (parts.size() == 1) {
        FFiles.push_back(ToUtf8(parts[0]));
    } else {
        std::string dir = ToUtf8(parts[0]);
        if (!dir.empty() && dir.back() != '\\') dir += '\\';
        for (size_t i = 1; i < parts.size(); ++i)
            FFiles.push_back(dir + ToUtf8(parts[i]));
    }
    FileName = FFiles.empty() ? "" : FFiles.front();
}

namespace {

// Selects the start folder once the dialog is up.
int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data) SendMessageW(wnd, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

} // namespace

std::string BrowseForFolder(const std::string& title, const std::string& startFolder) {
    const std::wstring wideTitle = ToWide(title), start = ToWide(startFolder);
    BROWSEINFOW info{};
    info.hwndOwner = GetActiveWindow() ? GetActiveWindow() : Application->Handle();
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return "";
    wchar_t path[MAX_PATH] = {};
    BOOL ok = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    return ok ? ToUtf8(path) : "";
}
