#include "classlib/gui/Menus.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include <algorithm>

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    if (FParent) FParent->Remove(this);
    for (TMenuItem* item : FItems)
        item->FParent = nullptr;
}

void TMenuItem::Add(TMenuItem* item) {
    if (item->FParent) item->FParent->Remove(item);
    item->FParent = this;
    FItems.push_back(item);
}

void TMenuItem::Remove(TMenuItem* item) {
    FItems.erase(std::remove(FItems.begin(), FItems.end(), item), FItems.end());
    item->FParent = nullptr;
}

void TMenuItem::Click() {
    if (FEnabled && OnClick) OnClick(this);
}

namespace {

// Appends the items to menu; command ids are 1 + the index into commands.
void BuildMenu(HMENU menu, const TMenuItem& parent, std::vector<TMenuItem*>& commands) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (item->IsLine()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = item->Enabled() ? MF_STRING : MF_STRING | MF_GRAYED;
        if (item->Count() > 0) {
            HMENU sub = CreatePopupMenu();
            BuildMenu(sub, *item, commands);
            AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
                        ToWide(item->Caption()).c_str());
            continue;
        }
        commands.push_back(item);
        AppendMenuW(menu, flags, commands.size(), ToWide(item->Caption()).c_str());
        if (item->Default()) SetMenuDefaultItem(menu, static_cast<UINT>(commands.size()), FALSE);
    }
}

} // namespace

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), FItems(nullptr) {}

void TPopupMenu::Popup(int x, int y, HWND owner) {
    if (OnPopup) OnPopup(this);
    std::vector<TMenuItem*> commands;
    TMenuHandle menu(CreatePopupMenu());
    BuildMenu(menu.Get(), FItems, commands);
    if (!owner) owner = Application->Handle();
    // The owner must be in front, or the menu does not close when clicked beside it.
    SetForegroundWindow(owner);
    UINT chosen =
        TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen > 0 && chosen <= commands.size()) commands[chosen - 1]->Click();
}
