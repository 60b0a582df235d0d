#pragma once
// Caption objects of a skinned window's title: the skin's caption buttons (close,
// maximize or restore, minimize, system menu, custom actions) and, as the same base,
// the menu-bar buttons. Each tracks hover and press from the non-client mouse
// messages; the window holds at most one hot object. TCaptionButtons keeps a window's
// buttons, answers the mouse in its title and offers its system popup. Main thread.
#include "skin/SkinForm.h"
#include <memory>
#include <vector>

class TDataSkinSysButton;
class TPopupMenu;

// A caption object's state, also the frame of its picture strip that shows it.
enum class TNCState { Normal = 1, Down = 2, Hot = 3 };
// The frame of a caption button's strip: its state's, or the inactive frame 4 for a
// resting button of an inactive window when the strip has one.
int ButtonFrame(TNCState state, bool windowActive, int frameCount);

// Where the skin places a caption button in the title; the menu bar draws its own.
enum class TCaptionAlign {
    Left = 0,
    Right = 1,
    BeforeText = 2,
    AfterText = 3,
    BeforeTextAlt = 8,
    AfterTextAlt = 9,
    MenuBar = 100
};

// The skin's caption-button actions; any other code is posted to the window.
enum class TCaptionAction {
    Close = 0,
    Maximize = 1,
    Minimize = 2,
    SystemMenu = 3,
    ChildMinimize = 7, // the active MDI child's commands
    ChildRestore = 8,
    ChildClose = 9,
    IconMenu = 11,
    SystemMenuAlt = 12,
    MaximizeAlt = 22,
    MinimizeAlt = 23,
    ChildMinimizeAlt = 60,
    ChildRestoreAlt = 61,
    ChildCloseAlt = 62
};

class TNCObject {
public:
    explicit TNCObject(TSkinForm& owner) : FOwner(owner) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    void MouseDown();
    void MouseUp();
    void MouseEnter();
    void MouseLeave();
    virtual void Paint() {}

    RECT Rect{};         // window coordinates
    bool Enabled = true; // visible and live: a disabled object ignores the mouse
    TNCState State = TNCState::Normal;

protected:
    TSkinForm& FOwner;
};

class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TSkinForm& owner, TDataSkinSysButton& element, int index)
        : TNCObject(owner), Element(element), FIndex(index) {}

    // Visibility from the skin's codes, the window's state and the button's action.
    void UpdateVisible();
    void Layout(int windowWidth);
    // Draws frame (or the window's icon, for the system-menu button) at Rect.
    void PaintInto(HDC dc, int frame);
    // The new state over the title's own background.
    void Paint() override;
    [[nodiscard]] TCaptionAction Action() const;
    [[nodiscard]] TCaptionAlign Align() const;
    [[nodiscard]] bool IsSysMenu() const;
    [[nodiscard]] bool Laid() const; // visible with a picture: has a place in the title

    TDataSkinSysButton& Element;

private:
    [[nodiscard]] bool VisibleBy(int code, bool first) const;
    void PaintInMenuBar();
    int FIndex;
};

class TCaptionButtons {
public:
    explicit TCaptionButtons(TSkinForm& form) : FForm(form) {}
    TCaptionButtons(const TCaptionButtons&) = delete;
    TCaptionButtons& operator=(const TCaptionButtons&) = delete;

    // One button per caption-button element of the skin, in its order.
    void Make();
    void Clear() { FButtons.clear(); }
    [[nodiscard]] const std::vector<std::unique_ptr<TWinSysButton>>& Buttons() const {
        return FButtons;
    }
    void Layout(int windowWidth);
    // Every laid-out button at rest, into the title picture.
    void Paint(HDC titleDC);
    // The left edge of the right-most right-aligned button, 0 without one.
    [[nodiscard]] int RightButtonLeft() const { return FRightButtonLeft; }
    [[nodiscard]] TNCObject* ObjectAt(POINT windowPoint) const;

    void OnNcMouseMove(TMessage& message);
    void OnNcLButtonDown(TMessage& message);
    void OnNcLButtonUp(TMessage& message);
    void OnNcLButtonDblClk(TMessage& message);
    void OnNcRButtonDown(TMessage& message);

    void MakeSystemPopup();
    // The skinned system popup, or the native system menu; a second call within the
    // double-click time closes the window instead.
    void SystemPopup(POINT screen);

private:
    TSkinForm& FForm;
    std::vector<std::unique_ptr<TWinSysButton>> FButtons;
    int FRightButtonLeft = 0;
    DWORD FLastPopup = 0;
    TPopupMenu* FSystemPopup = nullptr; // owned by the form as a component
};
