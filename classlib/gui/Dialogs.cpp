#include "classlib/gui/Dialogs.h"
#include "classlib/gui/Application.h"
#include <commdlg.h>
#include <shlobj.h>

namespace {

// "a|b|c|d" -> "a\0b\0c\0d\0\0", as the dialog wants its filter.
std::string FilterList(const std::string& filter) {
    std::string list = filter;
    for (char& c : list)
        if (c == '|') c = '\0';
    return list + std::string(2, '\0');
}

DWORD DialogFlags(unsigned options) {
    DWORD flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (options & ofHideReadOnly) flags |= OFN_HIDEREADONLY;
    if (options & ofAllowMultiSelect) flags |= OFN_ALLOWMULTISELECT;
    if (options & ofPathMustExist) flags |= OFN_PATHMUSTEXIST;
    if (options & ofFileMustExist) flags |= OFN_FILEMUSTEXIST;
    if (options & ofOverwritePrompt) flags |= OFN_OVERWRITEPROMPT;
    if (options & ofEnableSizing) flags |= OFN_ENABLESIZING;
    return flags;
}

} // namespace

bool TOpenDialog::Run(bool save) {
    std::vector<char> buffer(65536, '\0');
    FileName.copy(buffer.data(), buffer.size() - 2);
    std::string filter = FilterList(Filter);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = GetActiveWindow() ? GetActiveWindow() : Application->Handle();
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    ofn.Flags = DialogFlags(Options);
    BOOL chosen = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!chosen) return false;
    ReadChoice(buffer);
    return true;
}

// One full path, or (several files) the folder followed by the names, each ended by
// a zero byte, the list by a second one.
void TOpenDialog::ReadChoice(const std::vector<char>& buffer) {
    FFiles.clear();
    std::vector<std::string> parts;
    for (const char* p = buffer.data(); *p; p += parts.back().size() + 1)
        parts.emplace_back(p);
    if (parts.size() == 1) {
        FFiles = parts;
    } else {
        std::string dir = parts[0];
        if (!dir.empty() && dir.back() != '\\') dir += '\\';
        for (size_t i = 1; i < parts.size(); ++i)
            FFiles.push_back(dir + parts[i]);
    }
    FileName = FFiles.empty() ? "" : FFiles.front();
}

namespace {

// Selects the start folder once the dialog is up.
int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data) SendMessageA(wnd, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

} // namespace

std::string BrowseForFolder(const std::string& title, const std::string& startFolder) {
    BROWSEINFOA info{};
    info.hwndOwner = GetActiveWindow() ? GetActiveWindow() : Application->Handle();
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = startFolder.empty() ? 0 : reinterpret_cast<LPARAM>(startFolder.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
    if (!chosen) return "";
    char path[MAX_PATH] = {};
    BOOL ok = SHGetPathFromIDListA(chosen, path);
    CoTaskMemFree(chosen);
    return ok ? path : "";
}
