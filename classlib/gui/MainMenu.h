#pragma once
// TMainMenu: a form's menu bar built from items. The top-level items are the bar's,
// their children drop down; hidden items are left out. Attached to a form's window it
// clicks the item the user chooses. Main thread only.
#include "classlib/gui/Menus.h"
#include <functional>
#include <memory>

class TWinControl;

class TMainMenu : public TComponent {
public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;

    TMenuItem& Items() { return FItems; }
    // The menu, built at the first call.
    HMENU Handle();
    // The window's menu from now on; its WM_COMMANDs click the items.
    void AttachTo(TWinControl& form);
    // The item's submenu made again from its children (after a change of visibility).
    void RebuildItem(TMenuItem& item);
    // The item of that command id at any depth, or nullptr.
    [[nodiscard]] TMenuItem* FindItem(UINT command);

    // Owner-drawn items below the top level (a skin paints them), measured and drawn by
    // these handlers; switching it makes the dropped menus again. Main thread.
    [[nodiscard]] bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    std::function<void(TMenuItem* item, HDC dc, int& width, int& height)> OnMeasureItem;
    std::function<void(TMenuItem* item, HDC dc, const RECT& rect, bool selected)> OnDrawItem;

private:
    void Fill(HMENU menu, TMenuItem& parent);
    void FormMessage(TMessage& message);
    bool OwnerMessage(TMessage& message);

    TMenuItem FItems;
    bool FOwnerDraw = false;
    HMENU FHandle = nullptr;
    std::unique_ptr<TWindowSubclass> FFormSubclass;
};
