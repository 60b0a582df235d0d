#pragma once
// TSkinManage: the one global skin manager. A thread WH_CBT hook shows it every
// window of the main thread as it is created, activated and destroyed; it decides
// whether and with which TSkinData a window is skinned, makes its TSkinForm (or a
// TSkinPopMenu for a popup menu), and carries out the skin-wide actions a skin data
// requests (1 skin all, 2 unskin all, 3 re-apply, 6 drop dead windows) from a
// 250 ms timer. Main thread.
#include "classlib/gui/Timer.h"
#include "skin/SkinForm.h"
#include "skin/SkinPopMenu.h"
#include <memory>
#include <vector>

class TSkinData;

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
    // being activated: when shown it appears once, as it stays.
    void SkinBeforeShown(HWND wnd);
    void SkinPopupMenu(HWND wnd);
    void SetActionData(TSkinData* data) { FActionData = data; }
    void RequestAction(int action, unsigned interval);
    void DoAction();
    [[nodiscard]] TSkinForm* FindSkinForm(HWND wnd);
    void SetMenuOwner(TObject* owner);
    [[nodiscard]] TBitmap* GetMenuBitmap(TObject* owner) const;
    [[nodiscard]] int SkinnedCount() const { return static_cast<int>(FForms.size()); }
    [[nodiscard]] TSkinData* MainData() const { return FMainData; }

    bool Active = false;
    bool SkinAll = false; // while action 1 walks the forms: child windows are not refused
    int State = 0;        // 1 once a window has been activated; 4 while destroying
    int MenuKind = 0;     // the popup opening: 0 popup menu, 1 main menu, 2 system menu
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
    void SkinChanged();

    std::unique_ptr<TTimer> FTimer;
    std::unique_ptr<TTimer> FDropTimer; // frees the objects of destroyed windows soon after
    HHOOK FHook = nullptr;
    std::vector<std::unique_ptr<TSkinForm>> FForms;
    std::vector<std::unique_ptr<TSkinPopMenu>> FMenus;
    std::vector<TSkinData*> FData;
    int FAction = 0;
    TSkinData* FActionData = nullptr;
    TSkinData* FMainData = nullptr;
};

// The global manager: nullptr until the first TSkinData is loaded.
TSkinManage* SkinManager();
TSkinManage& CreateSkinManager();
// Frees the global manager (at program end; tests start afresh with it).
void FreeSkinManager();
