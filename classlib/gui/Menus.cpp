#include "classlib/gui/Menus.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/WindowSubclass.h"
#include <algorithm>
#include <memory>

namespace {

// Command ids of main-menu items: above the ids popup menus number from 1.
UINT NextCommand() {
    static UINT last = 0x400;
    last = last >= 0xEFFF ? 0x401 : last + 1; // below the system's SC_* ids
    return last;
}

} // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(NextCommand()) {}

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
// Owner-drawn items carry their TMenuItem as the item data.
void BuildMenu(HMENU menu, const TMenuItem& parent, std::vector<TMenuItem*>& commands,
               bool ownerDraw) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (!item->Visible()) continue;
        if (item->IsLine()) {
            if (ownerDraw)
                AppendMenuW(menu, MF_SEPARATOR | MF_OWNERDRAW, 0, reinterpret_cast<LPCWSTR>(item));
            else
                AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = item->Enabled() ? MF_STRING : MF_STRING | MF_GRAYED;
        if (item->Checked()) flags |= MF_CHECKED;
        if (ownerDraw) flags = (flags & ~MF_STRING) | MF_OWNERDRAW;
        std::string label = item->Caption();
        if (!item->ShortCutText().empty()) label += "\t" + item->ShortCutText();
        std::wstring caption = ToWide(label);
        auto text = ownerDraw ? reinterpret_cast<LPCWSTR>(item) : caption.c_str();
        if (item->Count() > 0) {
            HMENU sub = CreatePopupMenu();
            BuildMenu(sub, *item, commands, ownerDraw);
            AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text);
            continue;
        }
        commands.push_back(item);
        AppendMenuW(menu, flags, commands.size(), text);
        if (item->Default()) SetMenuDefaultItem(menu, static_cast<UINT>(commands.size()), FALSE);
    }
}

} // namespace

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), FItems(nullptr) {}

void TPopupMenu::Popup(int x, int y, HWND owner) {
    if (OnPopup) OnPopup(this);
    std::vector<TMenuItem*> commands;
    TMenuHandle menu(CreatePopupMenu());
    const bool ownerDraw = OwnerDraw && OnMeasureItem && OnDrawItem;
    BuildMenu(menu.Get(), FItems, commands, ownerDraw);
    if (!owner) owner = Application->Handle();
    // The owner window is asked to measure and draw the items while the menu is up.
    std::unique_ptr<TWindowSubclass> subclass;
    if (ownerDraw)
        subclass = std::make_unique<TWindowSubclass>(
            owner, TWndMethod::Of<&TPopupMenu::OwnerMessage>(this));
    FOwnerSubclass = subclass.get();
    // The owner must be in front, or the menu does not close when clicked beside it.
    SetForegroundWindow(owner);
    UINT chosen =
        TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    FOwnerSubclass = nullptr;
    subclass.reset();
    if (chosen > 0 && chosen <= commands.size()) commands[chosen - 1]->Click();
}

void TPopupMenu::OwnerMessage(TMessage& message) {
    if (message.Msg == WM_MEASUREITEM) {
        auto mis = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (mis->CtlType == ODT_MENU && mis->itemData) {
            int width = 0, height = 0;
            TWindowDC dc(nullptr);
            OnMeasureItem(reinterpret_cast<TMenuItem*>(mis->itemData), dc.Get(), width, height);
            mis->itemWidth = width;
            mis->itemHeight = height;
            message.Result = TRUE;
            return;
        }
    } else if (message.Msg == WM_DRAWITEM) {
        auto dis = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
        if (dis->CtlType == ODT_MENU && dis->itemData) {
            OnDrawItem(reinterpret_cast<TMenuItem*>(dis->itemData), dis->hDC, dis->rcItem,
                       (dis->itemState & ODS_SELECTED) != 0);
            message.Result = TRUE;
            return;
        }
    }
    FOwnerSubclass->CallPrevious(message);
}
