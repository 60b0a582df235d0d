#include "app/MainForm.h"
#include "app/EnterPasswordForm.h"
#include "app/MessageBoxes.h"
#include "app/NormalMode.h"
#include "app/pages/BrowsersPage.h"
#include "app/pages/JunkCleanerPage.h"
#include "app/pages/MainPage.h"
#include "app/pages/MemoryPanel.h"
#include "app/pages/MiscShortCutKeysFrame.h"
#include "app/pages/PluginsFrame.h"
#include "app/pages/RegistryBackupPage.h"
#include "app/pages/ShredRun.h"
#include "classlib/base/DateUtils.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"
#include "engine/wipe/WipeEngine.h"
#include "engine/wipe/WipeMethodsManager.h"
#include <cstring>
#include <stdexcept>
#include <windowsx.h>

TfMain* fMain = nullptr;

namespace {
std::string PrefsFile() {
    return GetAppDir() + "prefs.dat";
}

const char* const Title = "  Tarnwhistle 1.0";

// Posted at the end of the creation: the start's automatic clean runs once the
// message loop does, whether the window shows or starts in the tray.
constexpr UINT WM_STARTCLEAN = WM_APP + 200;

} // namespace

TfMain::TfMain(TComponent* owner) : TForm(owner) {
    SetName("fMain");
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    SetPosition(poScreenCenter);
    SetLayoutClientSize(this, 800, 580);
    BuildNavigation();
    BuildPages();
    BuildTrayMenu();
    BindCommands();
    ReadSkin();
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
    OnActivate = [this](TObject* sender) { FormActivate(sender); };
}

TfMain::~TfMain() {
    FormDestroy();
}

std::vector<TPageFrame*> TfMain::Pages() const {
    std::vector<TPageFrame*> pages;
    for (const TPlacedPage& placed : FPages)
        if (placed.Page) pages.push_back(placed.Page);
    return pages;
}

TTabSheet* TfMain::Sheet(const char* name) const {
    for (const TPlacedPage& placed : FPages)
        if (std::strcmp(placed.Row->Sheet, name) == 0) return placed.Sheet;
    throw std::logic_error(std::string("No sheet named ") + name);
}

// The skin component as the window's description gives it; it is read, and then
// told the window is complete, before the window's creation handler runs.
void TfMain::ReadSkin() {
    SkinData = new TSkinData(this);
    SkinData->SetName("SkinData");
    SkinData->SetActive(true);
    SkinData->SkinControls = 0x3FFFFF & ~(SkinKind(xcMenuItem) | SkinKind(xcSpin) |
                                          SkinKind(xcTrackBar) | SkinKind(xcFastReport));
    SkinData->Options = 0;
    SkinData->ReadSkinStream(ReadStoredSkinStream());
    SkinData->Loaded();
}

void TfMain::FormCreate(TObject*) {
    FormatSettings().DateSeparator = '/';
    FormatSettings().ShortDateFormat = "mm/dd/yyyy";
    SetCaption(Title);
    Application->SetTitle(Title);
    FOneInstance = new TOneInstance(this);
    if (FOneInstance->Found) {
        // Another instance runs: end now, reading and writing no settings.
        Application->Terminate();
        return;
    }
    Page<TMainPage>()->edLogMemo->Lines().Clear();
    pagMain->SetActivePageIndex(0);
    Page<TBrowsersPage>()->pagBrowsers->SetActivePageIndex(0);
    pagMisc->SetActivePageIndex(0);
    Engine = std::make_unique<TEraserEngine>();
    Engine->OnProgress = [this](TEraser* sender, const std::string& msg) {
        EngineLog(sender, msg);
    };
    Engine->OnCleanStart = [this](TCustomEraserEngine*) { CleanStarted(); };
    Engine->OnCleanEnd = [this](TCustomEraserEngine*) { CleanEnded(); };
    const auto pump = [] { Application->ProcessMessages(); };
    Engine->OnProcessMessages = pump;
    for (TWipeEngine* engine : Engine->Shredder->Engines())
        engine->OnProcessMessages = pump;
    Engine->OnAskToCloseBrowsers = [this](const std::string& text) {
        return AskBeforeDestroying(text, Handle()); // ends them by force
    };
    Engine->OnRebootNotice = [this](const std::string& text) { ShowNotice(text, Handle()); };
    for (TPageFrame* page : Pages())
        page->SetEngine(Engine.get());
    Page<TMemoryPanel>()->Memory = Mem;
    for (TPageFrame* page : Pages())
        page->SetDefaults();
    Engine->LoadSettings(PrefsFile());
    if (WipeMethodsManager)
        for (const std::string& note : WipeMethodsManager->DamageNotes)
            EngineLog(nullptr, note);
    if (!PasswordAccepted()) {
        // Nothing of the refused program is filled or shown; the settings it read are
        // written back at destruction.
        FPasswordRefused = true;
        Application->Terminate();
        return;
    }
    FillPages();
    SetUpFolders();
    FFolderReadOnly = !DirectoryWritable(AppDir);
    if (FFolderReadOnly)
        TellAtStart("The program's folder " + AppDir +
                    " cannot be written: what is set in this run cannot be saved.");
    CreateTrayIcon();
    if (Engine->StartInSystemTray) {
        Application->ShowMainForm = false;
        SetVisible(false);
        miShowMainWindow->SetEnabled(true);
    }
    if (Engine->AutoCleanAtWindowsStart) PostMessageW(Handle(), WM_STARTCLEAN, 0, 0);
}

// An empty access password lets everyone in; else the entered text must equal it,
// letter case included. A wrong text is told; Cancel ends the program silently.
bool TfMain::PasswordAccepted() {
    if (Engine->AccessPassword.empty()) return true;
    TModalResult result = mrCancel;
    std::string entered;
    {
        // Freed, and its global reference cleared, however the dialog ends.
        struct TClearReference {
            ~TClearReference() { fEnterPassword = nullptr; }
        } clear;
        auto dialog = std::make_unique<TfEnterPassword>(Application);
        fEnterPassword = dialog.get();
        result = dialog->ShowModal();
        entered = dialog->edPassword->Text();
    }
    if (result == mrOk && entered == Engine->AccessPassword) return true;
    if (result == mrOk) {
        SetForegroundWindow(Application->Handle());
        Application->ProcessMessages();
        ShowError("Incorrect password. The application will be terminated");
    }
    return false;
}

void TfMain::FillPages() {
    for (TPageFrame* page : Pages())
        page->LoadSettings();
    Engine->Misc->HotKeyWindow = Handle();
    const std::vector<int> unregistered = Engine->Misc->ApplyHotKeys();
    if (!unregistered.empty())
        TellAtStart(Page<TTMiscShortCutKeys>()->UnregisteredText(unregistered));
    TellAtStart(Page<TTPlugins>()->Unloadable);
    // A stored password is written at once: it must survive a program that is killed.
    Engine->Misc->OnPasswordsChanged = [this] { SaveSettingsNow(); };
    Engine->Scheduler->OnSchedule = [this](TScheduler*) { Engine->Clean(); };
}

// A message box would show a program that is to run unseen, in stealth mode or in
// the tray: there the text goes to the log.
void TfMain::TellAtStart(const std::string& text, bool error) {
    if (text.empty()) return;
    if (!Engine->Misc->StealthModeEnabled && !Engine->StartInSystemTray) {
        (error ? ShowError : ShowInformation)(text, nullptr);
        return;
    }
    for (const std::string& line : SplitString(text, '\n')) {
        EngineLog(nullptr, line);
        FStartNotes.push_back(line);
    }
}

void TfMain::SetUpFolders() {
    AppDir = GetAppDir();
    BackupDir = AppDir + "Backup\\";
    Page<TRegistryBackupPage>()->SetUpFolders(AppDir, BackupDir);
    if (!DirectoryExists(BackupDir)) CreateDirectoryW(ToWide(BackupDir).c_str(), nullptr);
    Page<TTJunkCleaner>()->SetAppDir(AppDir);
    TellAtStart(Page<TTJunkCleaner>()->RecoverStore());
    TellAtStart(RemoveLeftFillers(), false);
    SetCurrentDirectoryW(ToWide(AppDir).c_str());
}

void TfMain::CreateTrayIcon() {
    TrayIcon = new TTrayNotifyIcon(this);
    TrayIcon->SetIcon(LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
    TrayIcon->MinimizeToTray = true;
    TrayIcon->SetShowHint(true);
    TrayIcon->SetHint("  Tarnwhistle");
    TrayIcon->PopupMenu = TrayPopupMenu;
    TrayIcon->SetIconVisible(true); // last: the icon reaches the shell once, complete
}

// The settings are written here, and at the end of the Windows session; a program
// ended by the single-instance guard never made an engine and writes nothing.
void TfMain::FormDestroy() {
    if (!Engine) return;
    Engine->ShowHiddenBrowsers();
    try {
        Engine->Misc->UnregisterHotKeys();
        WriteSettings();
    } catch (...) {
        TellSaveFailed(); // what was set in this run is lost
    }
    Engine.reset();
}

// Only the engine's settings: what the pages hold still waits for the end.
void TfMain::SaveSettingsNow() {
    try {
        Engine->SaveSettings(PrefsFile());
    } catch (...) {
        TellSaveFailed();
    }
}

// Once: a folder that cannot be written was told of at start.
void TfMain::TellSaveFailed() {
    if (FFolderReadOnly) return;
    ShowError("The settings could not be saved to " + PrefsFile() + ".\n" +
              CurrentExceptionMessage());
}

void TfMain::WriteSettings() {
    if (!FPasswordRefused) // the pages of a refused start were never filled
        for (TPageFrame* page : Pages())
            page->ApplySettings();
    Engine->SaveSettings(PrefsFile());
}

// Windows asks before it ends the session: the answer is the close query's, so the
// close-time clean runs; a run going on refuses. A refused program only ends.
void TfMain::WMQueryEndSession(TMessage& message) {
    const bool running = Engine && Engine->Running; // refused, and not made at the run's end
    message.Result = FPasswordRefused || !Engine || (!running && CloseQuery());
    if (message.Result) WriteSettingsQuietly(); // the end may come with no other message
}

// Windows ends the program without destroying its window: the settings are written
// now, and no box is shown for a failure.
void TfMain::WMEndSession(TMessage& message) {
    if (message.WParam) WriteSettingsQuietly();
}

void TfMain::WriteSettingsQuietly() {
    if (!Engine) return;
    try {
        WriteSettings();
    } catch (const std::exception&) {
        LogSwallowed("TfMain::WriteSettingsQuietly");
    }
}

// A shredding run uses the engine from inside the message loop: it is stopped, and
// the window stays until it has ended. A cleaning run does too: the window stays, and
// closes once the run has ended unless it was stopped; a close during the close-time
// clean is that clean's own close.
void TfMain::FormCloseQuery(TObject*, bool& CanClose) {
    if (Engine && ShredderBusy(*Engine->Shredder)) {
        for (TWipeEngine* engine : Engine->Shredder->Engines())
            engine->Cancelled = true;
        CanClose = false;
        return;
    }
    if (Engine && Engine->Running) {
        FCloseWaiting = !FClosingClean;
        CanClose = false;
        return;
    }
    if (!Engine || !Engine->AutoCleanAtWindowsShutdown) return;
    FClosingClean = true;
    Engine->Clean();
    FClosingClean = false;
    CanClose = !Engine->Cancelled;
}

void TfMain::CleanStarted() {
    EngineClearLog(Engine.get());
    // What the start told stays readable above the first run's lines.
    for (const std::string& line : FStartNotes)
        EngineLog(nullptr, line);
    FStartNotes.clear();
    for (TPageFrame* page : Pages())
        page->RunningChanged(true);
    DWORD process = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &process);
    FForegroundAtRun = process == GetCurrentProcessId();
}

// Another program's dialog that a run showed (the Internet Options of the
// AutoComplete items) leaves no window active once it has gone: the window takes the
// activation back, as it had it when the run started. A program the user went to
// meanwhile keeps it.
void TfMain::CleanEnded() {
    for (TPageFrame* page : Pages())
        page->RunningChanged(false);
    HWND foreground = GetForegroundWindow();
    if (FForegroundAtRun && IsWindowVisible(Handle()) && !IsIconic(Handle()) &&
        (!foreground || foreground == GetDesktopWindow() || !IsWindowVisible(foreground)))
        SetForegroundWindow(Handle());
    if (FCloseWaiting) {
        FCloseWaiting = false;
        if (!Engine->Cancelled) PostMessageW(Handle(), WM_CLOSE, 0, 0);
    }
}

void TfMain::FormActivate(TObject*) {
    if (FPasswordRefused || !Engine) return;
    miShowMainWindow->SetEnabled(true);
}

void TfMain::EngineLog(TEraser*, const std::string& Msg) {
    Page<TMainPage>()->edLogMemo->Lines().Add(Msg);
}

void TfMain::EngineClearLog(TCustomEraserEngine*) {
    Page<TMainPage>()->edLogMemo->Lines().Clear();
}

void TfMain::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_HOTKEY: WMHotKey(message); break;
    case WM_CONTEXTMENU: WMContextMenu(message); break;
    case WM_QUERYENDSESSION: WMQueryEndSession(message); break;
    case WM_ENDSESSION: WMEndSession(message); break;
    case TEraserEngine::WM_SHOWTRAYICON: WMShowTrayIcon(); break;
    case TEraserEngine::WM_HIDETRAYICON: WMHideTrayIcon(); break;
    case WM_STARTCLEAN:
        if (Engine) Engine->Clean();
        break;
    default: TForm::WndProc(message); break;
    }
}

void TfMain::WMHotKey(TMessage& message) {
    if (!Engine) return;
    switch (static_cast<int>(message.WParam)) {
    case TMisc::hkQuickClean: Engine->Clean(); break;
    case TMisc::hkCleanAndReboot: Engine->CleanAndReboot(); break;
    case TMisc::hkCleanAndShutDown: Engine->CleanAndShutdown(); break;
    case TMisc::hkStopTask: Engine->Stop(); break;
    case TMisc::hkStealthMode: Engine->ToggleStealthMode(); break;
    case TMisc::hkBossKey: Engine->ToggleBossKey(); break;
    case TMisc::hkRecycleBin: Engine->EmptyRecycleBin(); break;
    default: break;
    }
}

// A right click on "User settings" opens its menu. Passed up from the button, the
// message may name the panel it passed through instead (Wine): then the click's point
// tells whether it was on the button.
void TfMain::WMContextMenu(TMessage& message) {
    HWND button = NavigationButton("mainMiscButton")->HandleIfAllocated();
    auto from = reinterpret_cast<HWND>(message.WParam);
    const POINT at{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    RECT r{};
    const bool onButton =
        button && (from == button ||
                   (IsChild(from, button) && GetWindowRect(button, &r) && PtInRect(&r, at)));
    if (!onButton) return TForm::WndProc(message);
    POINT p;
    GetCursorPos(&p);
    userSettingPopupMenu->Popup(p.x, p.y, Handle());
}

// The stealth toggle, or another program, shows and hides the tray icon.
void TfMain::WMShowTrayIcon() {
    if (!TrayIcon) return;
    TrayIcon->Enabled = true;
    TrayIcon->SetIconVisible(true);
}

void TfMain::WMHideTrayIcon() {
    if (!TrayIcon) return;
    TrayIcon->SetIconVisible(false);
    TrayIcon->Enabled = false;
}
