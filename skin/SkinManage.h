#pragma once
// TSkinManage: the one global skin manager. A thread WH_CBT hook shows it every
// window of the main thread as it is created, activated and destroyed; it decides
// whether and with which TSkinData a window is skinned, makes its TSkinForm (or a
// TSkinPopMenu for a popup menu), and carries out the skin-wide actions a skin data
// requests from a 250 ms timer. Main thread.
#include "classlib/gui/Timer.h"
#include "skin/SkinForm.h"
#include "skin/SkinPopMenu.h"
#include <functional>
#include <memory>
#include <vector>

class TSkinData;

// The skin-wide actions a skin data requests.
enum class TSkinAction { None = 0, SkinAll = 1, UnskinAll = 2, Reapply = 3, DropDead = 6 };
// Before a window has been activated the actions only switch the manager on or off.
enum class TManagerState { Waiting = 0, Running = 1, Destroying = 4 };
// The kind of menu whose popup is opening.
enum class TMenuKind { Popup = 0, Main = 1, System = 2 };

class TSkinManage {
public:
    TSkinManage();
    ~TSkinManage();
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    void InstallHook();
    void AddSkinData(TSkinData* data);
    // Also forgets every reference to it: main and action data, its skinned windows.
    void RemoveSkinData(TSkinData* data);
    bool SkinWindow(HWND wnd);
    // A window not shown yet is skinned whole at once (controls, frame, region) without
    // being activated: when shown it appears once, as it stays. Controls not made yet are
    // left to the pass their making asks for, which this runs at once too.
    void SkinBeforeShown(HWND wnd, bool controlsMade = true);
    void SkinPopupMenu(HWND wnd);
    void SetActionData(TSkinData* data) { FActionData = data; }
    void RequestAction(TSkinAction action, unsigned interval);
    void DoAction();
    // Every window skinned from the action data lets go of its caption buttons, which
    // point into the elements a new skin has just replaced.
    void RefreshData();
    [[nodiscard]] TSkinForm* FindSkinForm(HWND wnd);
    void SetMenuOwner(TObject* owner);
    // The frame picture of the listed popup menu window (each nested menu has its own),
    // or nullptr.
    [[nodiscard]] TBitmap* MenuPicture(HWND menu) const;
    [[nodiscard]] int SkinnedCount() const { return static_cast<int>(FForms.size()); }
    [[nodiscard]] TSkinData* MainData() const { return FMainData; }
    // The small application icon of a main form's skin other than data, or nullptr.
    [[nodiscard]] TBitmap* MainFormIcon(const TSkinData* data) const;

    // MDI children drawn with their native frames (true) or skinned ones.
    [[nodiscard]] bool NativeMDIFrames() const { return FNativeFrames; }
    void SetNativeMDIFrames(bool value);
    // On while an MDI child is maximized: every skinned MDI child then has its native
    // caption bits and no region; switched off, those not minimized are skinned again.
    [[nodiscard]] bool MDIMaximized() const { return FMDIMaximized; }
    void SetMDIMaximized(bool value);

    bool Active = false;
    bool SkinAll = false; // while action 1 walks the forms: child windows are not refused
    TManagerState State = TManagerState::Waiting;
    TMenuKind MenuKind = TMenuKind::Popup;
    int OwnerTag = 0;

private:
    static LRESULT CALLBACK SkinCBTHookProc(int code, WPARAM wParam, LPARAM lParam);
    void HookCall(int code, WPARAM wParam, LPARAM lParam);
    void WindowCreated(HWND wnd, const CREATESTRUCTW& cs);
    void WindowDestroyed(HWND wnd);
    void ControlCreated(HWND root);
    [[nodiscard]] bool MaySkin(HWND wnd, TWinControl* control) const;
    [[nodiscard]] TSkinData* ChooseData(HWND wnd) const;
    void DropDead();
    void SkinForms();
    void UnskinAll();
    void SkinChanged(const TSkinForm* only);
    void ForEachInRole(TMDIRole role, const std::function<void(TSkinForm&)>& action);

    std::unique_ptr<TTimer> FTimer;
    std::unique_ptr<TTimer> FDropTimer; // frees the objects of destroyed windows soon after
    THookHandle FHook;
    std::vector<std::unique_ptr<TSkinForm>> FForms;
    std::vector<std::unique_ptr<TSkinPopMenu>> FMenus;
    std::vector<TSkinData*> FData;
    TSkinAction FAction = TSkinAction::None;
    TSkinData* FActionData = nullptr;
    TSkinData* FMainData = nullptr;
    bool FNativeFrames = false;
    bool FMDIMaximized = false;
};

// The global manager: nullptr until the first TSkinData is loaded.
TSkinManage* SkinManager();
TSkinManage& CreateSkinManager();
// Frees the global manager (at program end; tests start afresh with it).
void FreeSkinManager();
