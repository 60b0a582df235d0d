// Drives Tarnwhistle through every page, tab and dialog for the README's pictures. Run
// it inside the Wine virtual desktop (windows of another desktop cannot be found):
// DriveMainWindow PROGRAM FOLDER. It starts the program, runs a simulation, then shows
// each page and dialog in turn as a user would (buttons, tabs, the tray menu), waits
// until the window shown has stopped changing and writes the screen under it into
// FOLDER\NN-name.bmp. At the end it writes FOLDER\pictures.done; on the first page or
// dialog that does not show it writes the reason into FOLDER\pictures.failed instead.
#include "../ProgramRun.h"
#include <commctrl.h>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

constexpr UINT WM_TRAYNOTIFY = 0x800; // the tray icon's callback message

struct EShot : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The pixels of the screen under a rectangle, bottom-up 24-bit rows.
std::vector<char> Grab(const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const size_t size = size_t((w * 3 + 3) & ~3) * h;
    std::vector<char> pixels(static_cast<char*>(bits), static_cast<char*>(bits) + size);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

void WriteBitmap(const std::string& fileName, const RECT& r, const std::vector<char>& pixels) {
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = r.right - r.left;
    info.biHeight = r.bottom - r.top;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = DWORD(pixels.size());
    BITMAPFILEHEADER head{0x4D42, DWORD(sizeof(head) + sizeof(info) + pixels.size()), 0, 0,
                          DWORD(sizeof(head) + sizeof(info))};
    FILE* out = std::fopen(fileName.c_str(), "wb");
    if (!out) throw EShot("cannot write " + fileName);
    std::fwrite(&head, sizeof(head), 1, out);
    std::fwrite(&info, sizeof(info), 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    std::fclose(out);
}

PROCESS_INFORMATION Start(const char* program) {
    std::string command = std::string("\"") + program + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        throw EShot("the program did not start");
    CloseHandle(pi.hThread);
    return pi;
}

// The classes and titles of the visible top-level windows, for a failure's message.
std::string TopWindows() {
    std::string list;
    EnumWindows(
        [](HWND wnd, LPARAM param) -> BOOL {
            char name[64] = {};
            GetClassNameA(wnd, name, sizeof(name));
            if (IsWindowVisible(wnd))
                *reinterpret_cast<std::string*>(param) +=
                    std::string(" ") + name + " \"" + WindowText(wnd) + "\"";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    return list;
}

class TDriver {
public:
    TDriver(HWND main, std::string folder) : FMain(main), FFolder(std::move(folder)) {}

    // The window, repainted and then unchanged for a while, as NN-name.bmp.
    void Shot(HWND wnd, const char* name) {
        if (!wnd || !IsWindowVisible(wnd)) throw EShot(std::string(name) + ": not shown");
        SetForegroundWindow(wnd);
        RedrawWindow(wnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT r;
        std::vector<char> last;
        int same = 0;
        const bool settled = WaitFor(
            [&] {
                GetWindowRect(wnd, &r);
                std::vector<char> now = Grab(r);
                same = now == last ? same + 1 : 0;
                last = std::move(now);
                Sleep(150); // between two looks at the screen
                return same >= 2;
            },
            20000);
        if (!settled) throw EShot(std::string(name) + ": kept changing");
        char file[32];
        std::snprintf(file, sizeof(file), "\\%02d-", ++FCount);
        WriteBitmap(FFolder + file + name + ".bmp", r, last);
    }

    // A child of the main window (or of root) of that class once it shows.
    HWND Shown(const char* className, const char* caption = nullptr, HWND root = nullptr) {
        HWND found = nullptr;
        WaitFor([&] {
            found = FindChild(root ? root : FMain, className, caption);
            return found && IsWindowVisible(found);
        });
        if (!found || !IsWindowVisible(found)) {
            Shot(FMain, "failed"); // what shows instead
            throw EShot(std::string(className) + " " + (caption ? caption : "") + ": not shown");
        }
        SendMessageW(FMain, WM_NULL, 0, 0); // what the click queued is done
        return found;
    }

    HWND Dialog(const char* className, const char* caption = nullptr) {
        HWND found = nullptr;
        WaitFor([&] {
            found = FindWindowA(className, caption);
            return found && IsWindowVisible(found);
        });
        if (!found || !IsWindowVisible(found))
            throw EShot(std::string(className) + ": dialog not shown; shown are:" + TopWindows());
        return found;
    }

    void Click(const char* caption, HWND root = nullptr) {
        PostClick(Shown("TButton", caption, root));
    }

    // The page on a page control's tab (counted among the tabs that show), then shot.
    void Tab(const char* pageClass, int tab, const char* frameClass, const char* name) {
        HWND page = FindChild(FMain, pageClass);
        HWND tabs = page ? GetParent(GetParent(page)) : nullptr;
        if (!tabs) throw EShot(std::string(name) + ": no tabs");
        SendMessageW(tabs, TCM_SETCURFOCUS, tab, 0);
        Shot(FMain, (Shown(frameClass), name));
    }

    // A dialog opened by a button, shot and closed by its cancel button.
    void DialogShot(const char* button, const char* className, const char* name) {
        Click(button);
        DialogShot(className, name);
    }

    // A dialog being opened, shot and closed by its cancel button.
    void DialogShot(const char* className, const char* name) {
        HWND dialog = Dialog(className);
        Shot(dialog, name);
        Click("&Cancel", dialog);
        if (!WaitFor([&] { return !IsWindowVisible(dialog); }))
            throw EShot(std::string(name) + ": did not close");
    }

    // The tray icon's menu, then its "About" item.
    void TrayMenuAndAbout() {
        DWORD pid = 0;
        GetWindowThreadProcessId(FMain, &pid);
        for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, L"TPUtilWindow", nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pid) PostMessageW(w, WM_TRAYNOTIFY, 1, WM_RBUTTONDOWN);
        }
        HWND menu = Dialog("#32768");
        Shot(menu, "tray-menu");
        // The skinned items are drawn by the program: no letter chooses them. From
        // the bottom up: "Exit", then "About".
        for (WPARAM key : {VK_UP, VK_UP, VK_RETURN}) {
            PostMessageW(menu, WM_KEYDOWN, key, 1);
            PostMessageW(menu, WM_KEYUP, key, 0xC0000001);
        }
        Shot(FMain, (Shown("TTAbout"), "about"));
    }

private:
    HWND FMain;
    std::string FFolder;
    int FCount = 0;
};

void Tour(TDriver& d, HWND main) {
    d.Click("Simulation Mode  ");
    HWND memo = d.Shown("TMemo");
    if (!WaitFor([&] { return WindowText(memo).find("Cleaning Completed!") != std::string::npos; },
                 300000))
        throw EShot("the simulation run did not end");
    d.Shot(main, "scan-erase");
    d.DialogShot("System Clean        ", "TfCleanMethodSelector", "clean-method");
    d.Click("Run Options       ");
    d.Shot(main, (d.Shown("TTOptions"), "run-options"));

    d.Click("Cleaner Settings   ");
    d.Shot(main, (d.Shown("TWindowsPage"), "cleaner-settings"));
    d.Click("Internet Browsers");
    d.Shot(main, (d.Shown("TTInternetExplorer"), "browsers-internet-explorer"));
    d.DialogShot("Keep Cookies", "TfKeepCookie", "keep-cookies");
    d.DialogShot("Keep Typed URLs", "TfKeepTypedURLs", "keep-typed-urls");
    d.Tab("TTInternetExplorer", 1, "TTNetscapeMozilla", "browsers-netscape-mozilla");
    d.Tab("TTInternetExplorer", 2, "TTOpera", "browsers-opera");
    d.Tab("TTInternetExplorer", 3, "TTAOL", "browsers-aol");

    d.Click("Free Space Clean ");
    d.Shot(main, (d.Shown("TTFreeSpaceShredder"), "free-space"));
    d.Click("File Shredder          ");
    HWND shredder = d.Shown("TTFileShredder");
    d.Shot(main, "file-shredder");
    PostClick(d.Shown("TButton", "&Options", shredder));
    HWND methods = d.Dialog("TfMethodsForm");
    d.Shot(methods, "wiping-methods");
    // "New" asks for the method's file first: a name typed into the save dialog.
    PostClick(d.Shown("TButton", "&New", methods));
    HWND save = d.Dialog("#32770");
    HWND name = d.Shown("Edit", nullptr, save);
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Pictures"));
    PostMessageW(save, WM_COMMAND, IDOK, 0);
    // The dialog opens outside the methods folder while it does not exist yet: a note
    // says where the file goes.
    HWND note = nullptr;
    WaitFor([&] {
        note = FindWindowA("#32770", "  Tarnwhistle 1.0");
        return FindWindowA("TfEditMethod", nullptr) || (note && IsWindowVisible(note));
    });
    if (note && IsWindowVisible(note)) PostMessageW(note, WM_COMMAND, IDOK, 0);
    HWND editor = d.Dialog("TfEditMethod");
    d.Shot(editor, "edit-method");
    PostClick(d.Shown("TButton", "&Cancel", editor));
    WaitFor([&] { return !IsWindowVisible(editor); });
    PostMessageW(methods, WM_CLOSE, 0, 0);
    if (!WaitFor([&] { return !IsWindowVisible(methods); }))
        throw EShot("wiping-methods: did not close");

    d.Click("PC Manager          ");
    d.Shot(main, (d.Shown("TTStartupManager"), "startup-manager"));
    d.Tab("TTStartupManager", 1, "TfraPasswordManager", "password-manager");
    PressFlatButton(d.Shown("TfraPasswordManager"), fbFirst, true); // "Add"
    d.DialogShot("TfEditPasswordManager", "password-entry");
    d.Tab("TTStartupManager", 2, "TMemoryPanel", "memory-optimization");
    d.Tab("TTStartupManager", 3, "TRegistryBackupPage", "registry-backup");

    d.Click("Junk Cleaner         ");
    d.Shot(main, (d.Shown("TTDuplicateFinder"), "junk-duplicate"));
    d.Tab("TTDuplicateFinder", 1, "TTJunkFinder", "junk-junk");
    HWND include = GetParent(d.Shown("TCheckListBox"));
    d.Click("Add", include);
    HWND input = d.Dialog("TInputBoxForm", "Include Extensions");
    d.Shot(input, "include-extension");
    d.Click("Cancel", input);
    d.Tab("TTDuplicateFinder", 2, "TTDLLFinder", "junk-dll");
    d.Tab("TTDuplicateFinder", 3, "TTRestoration", "junk-restoration");

    d.Click("Plug-ins                  ");
    d.Shot(main, (d.Shown("TTPlugins"), "plug-ins"));
    d.Click("User settings         ");
    d.Shot(main, (d.Shown("TTMiscShortCutKeys"), "shortcut-keys"));
    d.Tab("TTMiscShortCutKeys", 1, "TTinternetExplorerSettings", "internet-explorer-settings");
    d.DialogShot("Edit AutoFind", "TfEditIEAutoFind", "edit-autofind");
    d.Tab("TTMiscShortCutKeys", 2, "TTScheduler", "scheduler");
    d.TrayMenuAndAbout();

    // A password, so that the next start asks for it.
    d.Click("Scan/Erase           ");
    d.Click("Run Options       ");
    HWND options = d.Shown("TTOptions");
    HWND protect = d.Shown("TCheckBox", "Protect application by password", options);
    PostClick(protect);
    WaitFor([&] { return SendMessageW(protect, BM_GETCHECK, 0, 0) == BST_CHECKED; });
    for (HWND edit = nullptr; (edit = FindWindowExW(GetParent(protect), edit, L"TEdit", nullptr));)
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"pictures"));
    d.Click("&Apply", options);
}

void WriteText(const std::string& fileName, const std::string& text) {
    if (FILE* out = std::fopen(fileName.c_str(), "w")) {
        std::fputs(text.c_str(), out);
        std::fclose(out);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 1;
    const std::string folder = argv[2];
    try {
        PROCESS_INFORMATION pi = Start(argv[1]);
        HWND main = nullptr;
        if (!WaitFor(
                [&] { return (main = FindWindowA("TfMain", nullptr)) && IsWindowVisible(main); },
                60000))
            throw EShot("the main window did not show");
        TDriver driver(main, folder);
        Tour(driver, main);
        PostMessageW(main, WM_CLOSE, 0, 0); // the settings, password included, are written
        const bool ended = WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0;
        CloseHandle(pi.hProcess);
        if (!ended) throw EShot("the program did not end");
        pi = Start(argv[1]);
        CloseHandle(pi.hProcess);
        HWND password = driver.Dialog("TfEnterPassword");
        driver.Shot(password, "enter-password");
        driver.Click("&Cancel", password); // the program ends
        WriteText(folder + "\\pictures.done", "");
        return 0;
    } catch (const EShot& e) {
        WriteText(folder + "\\pictures.failed", std::string(e.what()) + "\n");
        return 1;
    }
}
