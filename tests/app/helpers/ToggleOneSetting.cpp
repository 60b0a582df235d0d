// Proves that a setting changed through the window outlives a restart: ToggleOneSetting
// set|check finds the running program's main window, ticks (set) or expects ticked
// (check) "Erase Windows Recycle Bin (*)" on "Cleaner Settings", then closes the window and fails
// on any message box before the program has ended. Exit code 0 when all went well.
#include "../ProgramRun.h"
#include <cstdio>
#include <cstring>

namespace {

int Fail(const std::string& why) {
    std::fprintf(stderr, "ToggleOneSetting: %s\n", why.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const bool set = argc == 2 && std::strcmp(argv[1], "set") == 0;
    if (!set && !(argc == 2 && std::strcmp(argv[1], "check") == 0))
        return Fail("usage: ToggleOneSetting set|check");
    HWND main = nullptr;
    if (!WaitFor([&] { return (main = FindWindowA("TfMain", nullptr)) && IsWindowVisible(main); },
                 120000))
        return Fail("no main window");
    PostClick(FindChild(main, "TButton", "Cleaner Settings   "));
    HWND box = nullptr;
    if (!WaitFor([&] {
            box = FindChild(main, "TCheckBox", "Erase Windows Recycle Bin (*)");
            return box && IsWindowVisible(box);
        }))
        return Fail("no check box");
    const bool checked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (checked != !set)
        return Fail(set ? "already ticked at the first start" : "the tick was lost");
    if (set) SendMessageA(box, BM_CLICK, 0, 0);
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    const TKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    PostMessageA(main, WM_CLOSE, 0, 0);
    HWND shown = nullptr;
    WaitFor([&] {
        shown = FindWindowA("#32770", nullptr);
        return shown || WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
    });
    if (shown) return Fail("a box at the close: " + MessageBoxText(shown));
    return WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0 ? 0 : Fail("did not end");
}
