// Drives Tarnwhistle for the README's screenshot. Run it inside the Wine virtual
// desktop (windows of another desktop cannot be found): it starts the program given
// as its first argument, waits for the main window, presses "Simulation Mode", waits
// for the end of the run and writes the window's screen rectangle as
// "WIDTHxHEIGHT+LEFT+TOP" into the file named by its second argument. With a third
// argument (a file), once that file exists it shows the "Cleaner Settings" page and
// writes the rectangle again, into the second file with ".2" added. The program stays
// open for the pictures. Exit code 1 on a failure or a timeout.
#include "../ProgramRun.h"
#include <cstdio>

namespace {

bool WriteRect(HWND wnd, const std::string& fileName) {
    RECT r;
    GetWindowRect(wnd, &r);
    FILE* out = std::fopen(fileName.c_str(), "w");
    if (!out) return false;
    std::fprintf(out, "%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    std::fclose(out);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) return 1;
    std::string command = std::string("\"") + argv[1] + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return 1;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    HWND main = nullptr;
    if (!WaitFor(
            [&] {
                return (main = FindWindowA("TfMain", nullptr)) != nullptr && IsWindowVisible(main);
            },
            60000))
        return 1;
    HWND button = FindChild(main, "TButton", "Simulation Mode  ");
    HWND memo = FindChild(main, "TMemo");
    if (!button || !memo) return 1;
    PostClick(button);
    if (!WaitFor([&] { return WindowText(memo).find("Cleaning Completed!") != std::string::npos; },
                 300000))
        return 1;
    if (!WriteRect(main, argv[2])) return 1;
    if (argc == 3) return 0;
    if (!WaitFor([&] { return GetFileAttributesA(argv[3]) != INVALID_FILE_ATTRIBUTES; }, 60000))
        return 1;
    PostClick(FindChild(main, "TButton", "Cleaner Settings   "));
    Sleep(2000);
    return WriteRect(main, std::string(argv[2]) + ".2") ? 0 : 1;
}
