#pragma once
// TSkinForm: one per skinned window, made by the skin manager. It routes the window's
// messages through SkinWndProc (answering WM_SKINQUERY), gives a form the skin's face
// colour and a bare window the skin's brush, and hands everything back on Unskin or
// when the window is destroyed. With xcMainMenu in the skin data's SkinControls it
// also draws the whole non-client area from the skin (SkinFrame.cpp): borders, title,
// caption buttons and system popup (SkinCaption.cpp), the menu bar (SkinMenuBar.h),
// and cuts the window's region from the borders' key pixels. Main thread.
#include "classlib/gui/Bitmap.h"
#include "classlib/gui/Classes.h"
#include "classlib/gui/Graphics.h"
#include "classlib/gui/WindowSubclass.h"
#include "skin/SkinControl.h"
#include <memory>
#include <vector>

class TSkinData;
class TWinControl;
class TNCObject;
class TWinSysButton;
class TSkinMenu;
class TPopupMenu;
class TTimer;

// True on the Windows NT line from XP on (5.1, or any later version): there a skinned
// window keeps its native caption style and loses only its caption buttons.
bool KeepsNativeCaption(DWORD platformId, DWORD major, DWORD minor);

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
    void SkinChanged();
    void FrameChanged(); // SetWindowPos with SWP_FRAMECHANGED only
    void PaintFrame(HDC dc = nullptr);

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

    // Frame metrics: left border width, title height, right and bottom border.
    struct TMetrics {
        int Left = 0, Title = 0, Right = 0, Bottom = 0, MenuBar = 0;
    };
    [[nodiscard]] const TMetrics& Metrics() const { return FMetrics; }
    [[nodiscard]] bool FrameSkinned() const { return FFrameSkin; }
    [[nodiscard]] bool Active() const { return FActive; }
    [[nodiscard]] TPlacement Placement() const { return FPlacement; }
    [[nodiscard]] TBorderKind BorderKind() const { return FBorderKind; }
    [[nodiscard]] bool DialogClass() const { return FDialogClass; }
    [[nodiscard]] bool HadSysMenu() const { return FSavedBits & sbSysMenu; }
    [[nodiscard]] bool HadMaxBox() const { return FSavedBits & sbMaxBox; }
    [[nodiscard]] bool HadMinBox() const { return FSavedBits & sbMinBox; }
    [[nodiscard]] const std::vector<std::unique_ptr<TWinSysButton>>& Buttons() const {
        return FButtons;
    }
    [[nodiscard]] TSkinMenu* MenuBar() const { return FMenuBar.get(); }
    [[nodiscard]] bool MenuTracking() const { return FMenuTracking; }
    void SetMenuTracking(bool value) { FMenuTracking = value; }

    // The caption object pressed or under the mouse.
    [[nodiscard]] TNCObject* Hot() const { return FHot; }
    void SetHot(TNCObject* object) { FHot = object; }
    // The title as painted before the caption buttons: what a button's new state is
    // drawn over.
    [[nodiscard]] TBitmap& TitleBackground() { return FTitleBack; }
    [[nodiscard]] const RECT& TextRect() const { return FTextRect; }
    // A screen point in window coordinates (origin at the window's top-left corner).
    [[nodiscard]] POINT WindowPoint(POINT screen) const;

    void Maximize();
    void Restore();
    void Minimize();
    void SystemPopup(POINT screen);
    void StopHover();

private:
    void SkinWndProc(TMessage& message);
    bool Stage1(TMessage& message);
    bool Stage2(TMessage& message);
    bool Stage3(TMessage& message);
    void Activate();
    void Detach();
    void Previous(TMessage& message) { FSubclass->CallPrevious(message); }
    void ReadPlacement();
    void OnSize(TMessage& message);
    void OnGetMinMaxInfo(TMessage& message);
    bool OnSysCommand(TMessage& message);
    void OnSetText(TMessage& message);
    void TimerTick(TObject* sender);

    // SkinFrame.cpp
    void LoadFrame();
    void SetNativeFrame(bool restore);
    void PaintTitle(HDC dc, TBitmap& left, TBitmap& right);
    void PaintCaptionText(HDC dc);
    void UpdateRegion();
    void ClearRegion();
    void KeepClientSize();
    void OnNcCalcSize(TMessage& message);
    void OnNcHitTest(TMessage& message);
    void OnNcActivate(TMessage& message);
    void OnNcPaint(TMessage& message);

    // SkinCaption.cpp
    void MakeSysButtons();
    void LayoutSysButtons(int width);
    void PaintSysButtons(HDC titleDC);
    [[nodiscard]] TNCObject* ObjectAt(POINT windowPoint) const;
    void OnNcMouseMove(TMessage& message);
    void OnNcLButtonDown(TMessage& message);
    void OnNcLButtonUp(TMessage& message);
    void OnNcLButtonDblClk(TMessage& message);
    void OnNcRButtonDown(TMessage& message);
    void MakeSystemPopup();

    std::unique_ptr<TWindowSubclass> FSubclass;
    TSkinControls FControls;
    TSkinData* FSkinData = nullptr;
    TWinControl* FForm = nullptr;
    TColor FOldColor = clBtnFace;
    bool FActivated = false;
    bool FDropped = false;
    int FDepth = 0;

    bool FFrameSkin = false;
    bool FNative = false; // the native caption bits are back
    bool FActive = true;
    bool FChild = false;
    bool FDialogClass = false;
    bool FSizeable = false;
    bool FMenuTracking = false;
    bool FRegionSet = false;
    TAttachState FAttach = TAttachState::Attaching;
    TBorderKind FBorderKind = TBorderKind::Fixed;
    TPlacement FPlacement = TPlacement::Normal;
    // The native caption bits the window had.
    enum : unsigned { sbMaxBox = 1, sbMinBox = 2, sbSysMenu = 8, sbCaption = 16 };
    unsigned FSavedBits = 0;
    TMetrics FMetrics;
    SIZE FRegionSize{0, 0};
    SIZE FAttachClient{0, 0}; // the client size before the menu bar took the window's menu
    RECT FTextRect{};
    int FRightButtonLeft = 0; // of the right-most right-aligned caption button
    DWORD FLastPopup = 0;
    HMENU FAttachMenu = nullptr; // the window's menu before the menu bar took it
    TGdiObject FCaptionFont;
    TBitmap FTitle, FTitleBack;
    std::unique_ptr<TTimer> FHoverTimer;
    std::vector<std::unique_ptr<TWinSysButton>> FButtons;
    TNCObject* FHot = nullptr;
    TPopupMenu* FSystemPopup = nullptr; // owned as a component
    std::unique_ptr<TSkinMenu> FMenuBar;
};
