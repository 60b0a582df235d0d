#include "RemoteControls.h"
#include "ProgramRun.h"
#include "classlib/base/SysUtils.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

TRemoteMemory::TRemoteMemory(HWND window, size_t size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    FProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    FAddress = static_cast<char*>(
        VirtualAllocEx(FProcess, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

TRemoteMemory::~TRemoteMemory() {
    VirtualFreeEx(FProcess, FAddress, 0, MEM_RELEASE);
    CloseHandle(FProcess);
}

void TRemoteMemory::Write(size_t offset, const void* data, size_t size) const {
    WriteProcessMemory(FProcess, At(offset), data, size, nullptr);
}

void TRemoteMemory::Read(size_t offset, void* data, size_t size) const {
    ReadProcessMemory(FProcess, At(offset), data, size, nullptr);
}

int ListViewCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListViewText(HWND list, int row, int column) {
    constexpr size_t TextSize = 1024;
    TRemoteMemory memory(list, sizeof(LVITEMW) + TextSize * sizeof(wchar_t));
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(memory.At(sizeof(LVITEMW)));
    item.cchTextMax = TextSize;
    memory.Write(0, &item, sizeof(item));
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(memory.At()));
    wchar_t text[TextSize] = {};
    memory.Read(sizeof(LVITEMW), text, (TextSize - 1) * sizeof(wchar_t));
    return ToUtf8(text);
}

int ListViewImage(HWND list, int row) {
    TRemoteMemory memory(list, sizeof(LVITEMW));
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    memory.Write(0, &item, sizeof(item));
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory.At()));
    memory.Read(0, &item, sizeof(item));
    return item.iImage;
}

std::vector<std::string> ListViewCaptions(HWND list) {
    std::vector<std::string> captions;
    for (int row = 0, count = ListViewCount(list); row < count; ++row)
        captions.push_back(ListViewText(list, row, 0));
    return captions;
}

namespace {

void SetItemState(HWND list, int row, UINT mask, UINT state) {
    TRemoteMemory memory(list, sizeof(LVITEMA));
    LVITEMA item{};
    item.stateMask = mask;
    item.state = state;
    memory.Write(0, &item, sizeof(item));
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(memory.At()));
}

} // namespace

void ListViewCheck(HWND list, int row, bool checked) {
    SetItemState(list, row, LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1));
}

bool ListViewChecked(HWND list, int row) {
    return (SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void ListViewSelect(HWND list, int row) {
    SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

namespace {

// The caption of the tree's selected item.
std::string SelectedTreeText(HWND tree) {
    constexpr size_t TextSize = 512;
    TRemoteMemory memory(tree, sizeof(TVITEMA) + TextSize);
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    item.pszText = memory.At(sizeof(TVITEMA));
    item.cchTextMax = TextSize;
    memory.Write(0, &item, sizeof(item));
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(memory.At()));
    char text[TextSize] = {};
    memory.Read(sizeof(TVITEMA), text, TextSize - 1);
    return text;
}

} // namespace

std::vector<HWND> Children(HWND parent, const char* className) {
    std::vector<HWND> found;
    while (HWND next =
               FindWindowExA(parent, found.empty() ? nullptr : found.back(), className, nullptr))
        found.push_back(next);
    return found;
}

void SetText(HWND wnd, const std::string& text) {
    SendMessageW(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
}

void PressKey(HWND wnd, WPARAM key) {
    PostMessageA(wnd, WM_KEYDOWN, key, 1);
    PostMessageA(wnd, WM_KEYUP, key, 0xC0000001);
}

void MouseClick(HWND wnd, bool right) {
    RECT r;
    GetWindowRect(wnd, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
}

void ChooseInFileDialog(HWND dialog, const std::string& text) {
    HWND name = GetDlgItem(dialog, 1148); // the file name combo box
    HWND edit = FindChild(name ? name : dialog, "Edit");
    ASSERT_NE(edit, nullptr);
    SetText(edit, text);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// The dialog fills its tree after it shows: the folder is chosen again until the tree
// has it selected.
bool ChooseFolder(const TProgramRun& program, HWND button, const std::string& folder) {
    PostClick(button);
    HWND dialog = program.WaitForWindow("#32770");
    if (!dialog) return false;
    HWND tree = FindChild(dialog, "SysTreeView32");
    TRemoteMemory memory(dialog, folder.size() + 1);
    memory.Write(0, folder.c_str(), folder.size() + 1);
    const bool chosen = WaitFor([&] {
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(memory.At()));
        return lstrcmpiA(SelectedTreeText(tree).c_str(), ExtractFileName(folder).c_str()) == 0;
    });
    PostMessageA(dialog, chosen ? WM_COMMAND : WM_CLOSE, IDOK, 0);
    if (!chosen) return false;
    return WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}
