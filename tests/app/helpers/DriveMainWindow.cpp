// Drives Tarnwhistle for the README's screenshot. Run it inside the Wine virtual
// desktop (windows of another desktop cannot be found): it starts the program given
// as its first argument, waits for the main window, presses "Simulation Mode", waits
// for the end of the run and writes the window's screen rectangle as
// "WIDTHxHEIGHT+LEFT+TOP" into the file named by its second argument. The program
// stays open for the picture. Exit code 1 on a failure or a timeout.
#include "../ProgramRun.h"
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) return 1;
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
    RECT r;
    GetWindowRect(main, &r);
    FILE* out = std::fopen(argv[2], "w");
    if (!out) return 1;
    std::fprintf(out, "%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    std::fclose(out);
    return 0;
}
