#pragma once
// TSkinMenu: the menu bar of a skinned window with a menu. The window loses its
// native bar; the skin's "menuBar" element is painted in the strip under the title
// with one TMenuBtn per top-level item. A button drops its submenu with
// TrackPopupMenu; while it is open a WH_MSGFILTER hook moves between buttons with the
// arrow keys and the mouse, as a native bar does: the open menu is ended first, then
// the next one opens (menus are never tracked inside one another). Main thread; one
// bar tracks at a time.
#include "skin/SkinCaption.h"
#include "skin/SkinPaint.h"
#include <string>

class TSkinData;
class TMainMenu;
class TMenuItem;

// Leading and trailing separators of the item's children are hidden, and of a run
// only the last shows; one hidden before shows again once an item follows it.
void TidySeparators(TMenuItem& item);

class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TSkinForm& owner, TSkinMenu& bar) : TNCObject(owner), FBar(bar) {}
    void Paint() override;

    std::string Caption;
    TMenuItem* Item = nullptr; // of the form's main menu
    bool ItemEnabled = true;
    HMENU Submenu = nullptr;
    UINT Id = 0;

private:
    TSkinMenu& FBar;
};

class TSkinMenu {
public:
    TSkinMenu(TSkinForm& form, TSkinData& data) : FForm(form), FData(data) {}
    ~TSkinMenu();
    TSkinMenu(const TSkinMenu&) = delete;
    TSkinMenu& operator=(const TSkinMenu&) = delete;

    // The form's main menu: its items give the buttons their captions and states.
    void SetMainMenu(TMainMenu* menu) { FMainMenu = menu; }
    // Buttons from the window's menu, which then leaves the window.
    void Build(HMENU menu);
    // The menus dropped so far are drawn by the system again.
    void DrawMenusNatively();
    [[nodiscard]] HMENU Menu() const { return FMenu; }
    void Paint(HDC dc, const RECT& bar);
    [[nodiscard]] TMenuBtn* ButtonAt(POINT windowPoint) const;
    // The first enabled button whose caption has the key as its accelerator (the first
    // enabled one for 0), or -1.
    [[nodiscard]] int IndexOfKey(wchar_t key) const;
    // Opens the button of IndexOfKey.
    bool OpenByKey(wchar_t key);
    void Clicked(TNCObject* object);
    // The item WM_MENUSELECT reports while a menu of the bar is open.
    void MenuSelect(WPARAM wParam, LPARAM lParam);
    [[nodiscard]] int TrackedIndex() const { return FTracked; }
    // The submenu dropped now, or nullptr.
    [[nodiscard]] HMENU TrackedPopup() const {
        return FTracked >= 0 ? FButtons[FTracked]->Submenu : nullptr;
    }
    [[nodiscard]] int Count() const { return static_cast<int>(FButtons.size()); }
    [[nodiscard]] TMenuBtn& Button(int i) const { return *FButtons[i]; }

    // The bar painted without its buttons' states; the buttons repaint from it.
    TBitmap Background;
    RECT BarRect{};

private:
    friend class TMenuBtn;
    void Track(int index);
    void TrackOne(int index);
    void SwitchTo(int index);
    static LRESULT CALLBACK MsgFilter(int code, WPARAM wParam, LPARAM lParam);
    bool Filter(MSG& msg);
    void PaintCaption(HDC dc, const TMenuBtn& button, const RECT& r) const;
    void PaintMDIButtons(HDC dc, const RECT& bar);

    TSkinForm& FForm;
    TSkinData& FData;
    HMENU FMenu = nullptr;
    TMainMenu* FMainMenu = nullptr;
    std::vector<std::unique_ptr<TMenuBtn>> FButtons;
    int FTracked = -1, FPending = -1;
    HMENU FSelectedMenu = nullptr; // from WM_MENUSELECT
    UINT FSelectedFlags = 0;
    bool FFirstKey = false;
    POINT FLastMouse{};
    THookHandle FHook;
    TOffscreen FOffscreen; // the bar and its buttons
};
