#pragma once
// One icon in the notification area: turns the shell's notifications into mouse
// events, shows a popup menu at the pointer, can cycle through an image list and can
// hide the main form into the notification area. All icons share one hidden window
// that receives the shell's callback 0x800. Main thread only: every event fires from
// the main thread's message handling.
#include "classlib/base/Handle.h"
#include "classlib/gui/Classes.h"
#include "classlib/gui/Messages.h"
#include "classlib/gui/Mouse.h"
#include "components/MsgTimer/MsgTimer.h"
#include <commctrl.h>
#include <functional>
#include <shellapi.h>
#include <string>
#include <windows.h>

class TPopupMenu;
class TForm;

using TTrayMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TTrayMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TCycleEvent = std::function<void(TObject* sender, int nextIndex)>;
// Asked once at start whether the main form shows; set showMainForm false to start hidden.
using TStartupEvent = std::function<void(TObject* sender, bool& showMainForm)>;

class TTrayNotifyIcon : public TComponent {
public:
    static constexpr UINT WM_TRAYNOTIFY = 0x800; // the shell's callback message

    explicit TTrayNotifyIcon(TComponent* owner);
    ~TTrayNotifyIcon() override;
    // The after-loading step of an icon built from a form's description: asks OnStartup,
    // re-applies the shown state, cycling and the exit poll, and tells the shell the
    // notification version. An icon made in code does not call it.
    void Loaded() override;

    // Copied; the component owns its copy. Any change updates the shown icon.
    [[nodiscard]] HICON Icon() const { return FIcon.Get(); }
    void SetIcon(HICON icon);
    // Images to cycle through (not owned).
    [[nodiscard]] HIMAGELIST IconList() const { return FIconList; }
    void SetIconList(HIMAGELIST list);
    [[nodiscard]] int IconIndex() const { return FIconIndex; }
    void SetIconIndex(int index); // clamped to the last image; 0 without a list
    [[nodiscard]] bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool cycle);
    [[nodiscard]] UINT CycleInterval() const { return FCycleInterval; }
    void SetCycleInterval(UINT ms);

    [[nodiscard]] const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& hint); // the tip shows its first 127 characters
    [[nodiscard]] bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool show);
    [[nodiscard]] bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool visible);
    [[nodiscard]] bool WantEnterExitEvents() const { return FWantEnterExitEvents; }
    void SetWantEnterExitEvents(bool want);

    bool Enabled = true; // false: mouse and balloon notifications are ignored
    TPopupMenu* PopupMenu = nullptr;
    bool LeftPopup = false; // the left button opens the menu too
    bool MinimizeToTray = false;

    // The shell's answers; false when it refused.
    bool ShowIcon();
    bool HideIcon();
    bool ModifyIcon();
    void ShowMainForm();
    void HideMainForm();

    // What the shell knows the icon by: its window and id (the callback's wParam).
    [[nodiscard]] static HWND HandlerWindow();
    [[nodiscard]] UINT Id() const { return FId; }

    TNotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseExit, OnMinimizeToTray;
    TNotifyEvent OnBalloonHintShow, OnBalloonHintHide, OnBalloonHintTimeout, OnBalloonHintClick;
    TTrayMouseEvent OnMouseDown, OnMouseUp;
    TTrayMouseMoveEvent OnMouseMove;
    TCycleEvent OnCycle;
    TStartupEvent OnStartup;

private:
    friend struct TTrayIconHandler;
    void HandleNotify(UINT message);
    void LeftButtonDown(TShiftState shift, POINT p);
    void LeftButtonUp(TShiftState shift, POINT p);
    void LeftDoubleClick();
    void MouseMove(TShiftState shift, POINT p);
    void ClickTick();
    void ExitTick();
    void CycleTick();
    void PopupAtCursor();
    void MinimizeStep();
    bool Notify(DWORD message);
    [[nodiscard]] TForm* OwnerForm() const;
    bool HookApplication(TMessage& message); // through the application's hook list
    void OwnerWndProc(TMessage& message);
    static void Fire(TObject* sender, const TNotifyEvent& event);
    [[nodiscard]] bool StartupShowsMainForm();
    [[nodiscard]] bool MenuPopsUp() const;

    UINT FId; // the icon's uID and its key in the shared window's table
    TIconHandle FIcon;
    HIMAGELIST FIconList = nullptr;
    int FIconIndex = 0;
    bool FCycleIcons = false;
    UINT FCycleInterval = 1000;
    std::string FHint;
    bool FShowHint = true;
    bool FIconVisible = false;
    bool FWantEnterExitEvents = false;
    POINT FLastMove{};
    bool FOutside = true;
    bool FLeftDown = false;
    bool FClickPending = false;
    bool FDoubleClicked = false;
    bool FFirstPositionChange = true; // the application window's first WM_WINDOWPOSCHANGED
    UINT FNotifyVersion = 0;          // told to the shell by Loaded; nothing sets another
    TMsgTimer FCycleTimer;
    TMsgTimer FClickTimer;
    TMsgTimer FExitTimer;
    TWndMethod FOldOwnerProc; // the owner form's WindowProc before ours
};
