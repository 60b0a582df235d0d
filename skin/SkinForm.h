#pragma once
// TSkinForm: one per skinned window, made by the skin manager. It routes the window's
// messages through SkinWndProc (answering WM_SKINQUERY), gives a form the skin's face
// colour and a bare window the skin's brush, and hands everything back on Unskin or
// when the window is destroyed. With xcMainMenu in the skin data's SkinControls its
// frame (SkinFrame.h) draws the whole non-client area from the skin and cuts the
// window's region, its caption buttons (SkinCaption.h) answer the mouse in the title
// and offer the system popup, and the menu bar (SkinMenuBar.h) takes the window's menu;
// then the form's WindowProc is hooked too: an Alt+key that no control of the form took
// opens the menu bar's button of that key, or goes on from an MDI child to its MDI form.
// Main thread.
#include "classlib/gui/Classes.h"
#include "classlib/gui/Graphics.h"
#include "classlib/gui/WindowSubclass.h"
#include "skin/SkinControl.h"
#include "skin/SkinFrame.h"
#include <memory>

class TSkinData;
class TWinControl;
class TNCObject;
class TCaptionButtons;
class TSkinMenu;
class TTimer;

// How far the skin of a window is applied; the frame is painted when Ready or Reapplying.
enum class TAttachState {
    Attaching = 0,
    Ready = 1,
    Reapplying = 3,
    Destroying = 4,
    KeepingSize = 5,
    Gone = 6
};
enum class TPlacement { Normal = 0, Maximized = 1, Minimized = 2 };
// An MDI frame holds an "MDIClient" window; an MDI child lives in one.
enum class TMDIRole { None = 0, Frame = 1, Child = 2 };
// A popup border has no skinned frame; a dialog border has no system-menu button.
enum class TBorderKind { Sizing = 0, Fixed = 1, Popup = 2, Dialog = 3 };

class TSkinForm : public TComponent {
public:
    explicit TSkinForm(TComponent* owner);
    ~TSkinForm() override;

    // The window handle must be set before either is called.
    void InitForm(TSkinData* data, TWinControl* form);
    void InitWindow(TSkinData* data);
    void Unskin();
    void Repaint();
    // Re-applies a changed skin; the caption buttons and metrics are loaded before.
    void SkinChanged();
    // The caption buttons go: they point into the skin's elements.
    void FreeSysButtons();
    // Frame metrics and caption buttons from the skin.
    void LoadFrame() { FFrame->Load(); }
    void FrameChanged(); // SetWindowPos with SWP_FRAMECHANGED only
    void PaintFrame() { FFrame->Paint(); }

    HWND Handle = nullptr;
    int OwnerTag = 0;
    [[nodiscard]] TSkinData* SkinData() const { return FSkinData; }
    [[nodiscard]] TWinControl* Form() const { return FForm; }
    // The window is gone: the manager drops this object.
    [[nodiscard]] bool Dropped() const { return FDropped; }
    [[nodiscard]] bool Activated() const { return FActivated; }
    // Inside its window procedure: the object must not be freed now.
    [[nodiscard]] bool Busy() const { return FDepth > 0; }
    // The skinned controls of the window, made when it is activated.
    TSkinControls& Controls() { return FControls; }

    [[nodiscard]] TSkinFrame& Frame() const { return *FFrame; }
    [[nodiscard]] TCaptionButtons& Caption() const { return *FCaption; }
    [[nodiscard]] const TFrameMetrics& Metrics() const { return FFrame->Metrics(); }
    [[nodiscard]] bool FrameSkinned() const { return FFrameSkin; }
    [[nodiscard]] TAttachState AttachState() const { return FAttach; }
    [[nodiscard]] bool Active() const { return FActive; }
    [[nodiscard]] TPlacement Placement() const { return FPlacement; }
    [[nodiscard]] TBorderKind BorderKind() const { return FBorderKind; }
    [[nodiscard]] bool DialogClass() const { return FDialogClass; }
    // The window reads from right to left (WS_EX_LEFTSCROLLBAR): so does its menu.
    [[nodiscard]] bool RightToLeft() const { return FRightToLeft; }
    [[nodiscard]] bool HadSysMenu() const { return FFrame->HadSysMenu(); }
    [[nodiscard]] bool HadMaxBox() const { return FFrame->HadMaxBox(); }
    [[nodiscard]] bool HadMinBox() const { return FFrame->HadMinBox(); }
    [[nodiscard]] TSkinMenu* MenuBar() const { return FMenuBar.get(); }
    [[nodiscard]] TMDIRole MDIRole() const { return FMDIRole; }
    // An MDI frame's client window.
    [[nodiscard]] HWND MDIClient() const { return FMDIClient; }
    // An MDI frame whose active child is maximized.
    [[nodiscard]] bool MDIChildMaximized() const;
    // The skinned frame is drawn: not an MDI child that is not normal or has its
    // native frame.
    [[nodiscard]] bool FrameDrawn() const;
    // An MDI child follows the manager's MDI-maximized mode and native-frames flag.
    void MDIMaximizedChanged(bool on);
    void NativeFramesChanged(bool native);
    // An MDI frame sends its active child the system command.
    void MDIChildCommand(WPARAM command);
    [[nodiscard]] bool MenuTracking() const { return FMenuTracking; }
    void SetMenuTracking(bool value) { FMenuTracking = value; }

    // The caption object pressed or under the mouse.
    [[nodiscard]] TNCObject* Hot() const { return FHot; }
    void SetHot(TNCObject* object) { FHot = object; }
    // The hot object, if any, is drawn at rest and forgotten.
    void DropHot();
    // A screen point in window coordinates (origin at the window's top-left corner).
    [[nodiscard]] POINT WindowPoint(POINT screen) const;
    // The window procedure the skin replaced.
    void CallPrevious(TMessage& message) { FSubclass->CallPrevious(message); }

    void Maximize();
    void Restore();
    void Minimize();
    void StopHover();

private:
    void SkinWndProc(TMessage& message);
    void HookForm();
    void UnhookForm();
    void FormWndProc(TMessage& message);
    void DialogChar(TMessage& message);
    // The router's stages, each true for a message it answered: what every skinned
    // window answers, what a window whose frame is skinned answers, and the non-client
    // messages of a frame drawn now.
    bool RouteWindow(TMessage& message);
    bool RouteFrame(TMessage& message);
    bool RouteDrawnFrame(TMessage& message);
    void Activate(bool frameOnly);
    void Detach();
    void LoadFrameMetrics();
    void ReapplyFrame(bool relayout = false);
    void ReadPlacement();
    void ReadBorderKind(LONG_PTR style, LONG_PTR exStyle);
    void OnSize(TMessage& message);
    void OnGetMinMaxInfo(TMessage& message);
    bool OnSysCommand(TMessage& message);
    void CallHidingNativeCaption(TMessage& message);
    void OnSettingChange(TMessage& message);
    void OnSysColorChange(TMessage& message);
    void OnNcActivate(TMessage& message);
    void OnMenuChanged(TMessage& message);
    bool OnMenuItem(TMessage& message);
    void TimerTick(TObject* sender);
    void AttachMDI(LONG_PTR exStyle);
    void ClientWndProc(TMessage& message);
    void ActivateMDIChild();
    void FollowMDIPlacement();

    std::unique_ptr<TWindowSubclass> FSubclass;
    TWndMethod FOldFormProc; // while the form's WindowProc is hooked
    TSkinControls FControls;
    TSkinData* FSkinData = nullptr;
    TWinControl* FForm = nullptr;
    TColor FOldColor = clBtnFace;
    bool FActivated = false;
    bool FDropped = false;
    int FDepth = 0;

    bool FFrameSkin = false;
    bool FActive = true;
    bool FDialogClass = false;
    bool FMenuTracking = false;
    bool FRightToLeft = false;
    bool FHadMenu = false; // at attach
    TAttachState FAttach = TAttachState::Attaching;
    TBorderKind FBorderKind = TBorderKind::Fixed;
    TPlacement FPlacement = TPlacement::Normal;
    std::unique_ptr<TTimer> FHoverTimer;
    TNCObject* FHot = nullptr;
    std::unique_ptr<TSkinFrame> FFrame;
    std::unique_ptr<TCaptionButtons> FCaption;
    std::unique_ptr<TSkinMenu> FMenuBar;
    TMDIRole FMDIRole = TMDIRole::None;
    HWND FMDIClient = nullptr;
    std::unique_ptr<TWindowSubclass> FClientSubclass;
    bool FSavedMenuUpdate = true;
};
