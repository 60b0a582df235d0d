#include "engine/EraserEngine.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/WindowText.h"
#include <shellapi.h>

namespace {

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const RunValue = "Tarnwhistle";

} // namespace

TEraserEngine::TEraserEngine() {
    for (int i = 0; i < ciCatalogueCount; ++i) {
        const TCatalogueEntry& entry = Catalogue[i];
        if (entry.Class == ecFiles)
            FItems[i] = std::make_unique<TEraseFiles>(entry.Name, entry.Caption);
        else
            FItems[i] = std::make_unique<TEraseRegistry>(entry.Name, entry.Caption);
        AddEraser(FItems[i].get());
    }
    BindWindowsItems();
    BindBrowserItems();
    Shredder = std::make_unique<TShredder>();
    PluginManager = std::make_unique<TPluginManager>();
    Misc = std::make_unique<TMisc>();
    Scheduler = std::make_unique<TScheduler>();
}

TEraserEngine::~TEraserEngine() = default;

TEraseFiles& TEraserEngine::FileItem(TCatalogueItem item) const {
    return dynamic_cast<TEraseFiles&>(*FItems[item]);
}

TEraseRegistry& TEraserEngine::RegistryItem(TCatalogueItem item) const {
    return dynamic_cast<TEraseRegistry&>(*FItems[item]);
}

void TEraserEngine::BindFiles(TCatalogueItem item, void (TEraserEngine::*collect)(TEraseFiles&)) {
    FileItem(item).OnCollect = [this, collect](TEraser* sender) {
        (this->*collect)(*static_cast<TEraseFiles*>(sender));
    };
}

void TEraserEngine::BindRegistry(TCatalogueItem item,
                                 void (TEraserEngine::*collect)(TEraseRegistry&)) {
    RegistryItem(item).OnCollect = [this, collect](TEraser* sender) {
        (this->*collect)(*static_cast<TEraseRegistry*>(sender));
    };
}

void TEraserEngine::EmptyRecycleBin() {
    SHEmptyRecycleBinW(MainWindow(), nullptr, 0);
}

const char* const TEraserEngine::LoadAtStartupFailed =
    "The program could not be set to load at Windows startup: the registry's \"Run\" key "
    "cannot be written.";

// The option follows the registry: a Run value that cannot be written or removed
// leaves it as it was.
bool TEraserEngine::SetLoadAtStartup(bool value) {
    bool done = false;
    try {
        TRegistry reg;
        reg.RootKey = HKEY_CURRENT_USER;
        if (value) {
            done = reg.OpenKey(RunKey, true);
            if (done) reg.WriteString(RunValue, GetModuleFileNameStr());
        } else {
            done = !reg.OpenKey(RunKey, false) || !reg.ValueExists(RunValue) ||
                   reg.DeleteValue(RunValue);
        }
    } catch (const Exception&) {
        done = false;
        LogSwallowed("TEraserEngine::SetLoadAtStartup");
    }
    if (done) FLoadAtStartup = value;
    return done;
}

bool TEraserEngine::GetLoadAtStartup() const {
    if (!FLoadAtStartup) return false;
    TRegistry reg(KEY_READ);
    reg.RootKey = HKEY_CURRENT_USER;
    return reg.OpenKeyReadOnly(RunKey) && reg.ValueExists(RunValue);
}

void TEraserEngine::ToggleStealthMode() {
    if (!Misc->StealthModeEnabled) return;
    StealthHidden = !StealthHidden;
    HWND main = MainWindow();
    if (!main) return;
    // The forms are owned by the application's own window.
    const int show = StealthHidden ? SW_HIDE : SW_SHOW;
    ShowWindow(main, show);
    if (HWND application = GetWindow(main, GW_OWNER)) ShowWindow(application, show);
    SendMessageW(main, StealthHidden ? WM_HIDETRAYICON : WM_SHOWTRAYICON, 0, 0);
}

namespace {

bool IsBrowserWindow(HWND wnd) {
    const std::string name = GetClassNameStr(wnd);
    for (const TBrowserEntry& browser : Browsers)
        if (SameText(name, browser.WindowClass)) return true;
    return false;
}

// Every matching window at any depth, siblings in order, each before its children.
// Without waiting for the browser: a hung one would hang the program too.
void ShowBrowserWindows(HWND first, bool show) {
    for (HWND wnd = first; wnd; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
        if (IsBrowserWindow(wnd)) ShowWindowAsync(wnd, show ? SW_SHOW : SW_HIDE);
        ShowBrowserWindows(GetWindow(wnd, GW_CHILD), show);
    }
}

} // namespace

void TEraserEngine::ToggleBossKey() {
    if (!Misc->BossKeyEnabled) return;
    BrowsersShown = !BrowsersShown;
    ShowBrowserWindows(GetWindow(GetDesktopWindow(), GW_CHILD), BrowsersShown);
}

void TEraserEngine::ShowHiddenBrowsers() {
    if (BrowsersShown) return;
    BrowsersShown = true;
    ShowBrowserWindows(GetWindow(GetDesktopWindow(), GW_CHILD), true);
}
