#pragma once
// TMainMenu: a form's menu bar built from items. The top-level items are the bar's,
// their children drop down; hidden items are left out. Attached to a form's window it
// clicks the item the user chooses. Main thread only.
#include "classlib/gui/Menus.h"
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

private:
    void Fill(HMENU menu, TMenuItem& parent);
    void FormMessage(TMessage& message);

    TMenuItem FItems;
    HMENU FHandle = nullptr;
    std::unique_ptr<TWindowSubclass> FFormSubclass;
};
