#pragma once
// Caption objects of a skinned window's title: the skin's caption buttons (close,
// maximize or restore, minimize, system menu, custom actions) and, as the same base,
// the menu-bar buttons. Each tracks hover and press from the non-client mouse
// messages; the window holds at most one hot object. Main thread.
#include "skin/SkinForm.h"

class TDataSkinSysButton;

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
    int State = 1;       // 1 normal, 2 down, 3 hot

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
    [[nodiscard]] bool IsSysMenu() const;
    [[nodiscard]] bool Laid() const; // visible with a picture: has a place in the title

    TDataSkinSysButton& Element;

private:
    [[nodiscard]] bool VisibleBy(int code, bool first) const;
    int FIndex;
};
