#include "classlib/gui/MainMenu.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/WinControl.h"
#include "classlib/gui/WindowSubclass.h"

namespace {

TMenuItem* Find(TMenuItem& parent, UINT command) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (item->Command() == command) return item;
        if (TMenuItem* inner = Find(*item, command)) return inner;
    }
    return nullptr;
}

// True when the item is one of parent's at any depth.
bool Holds(const TMenuItem& parent, ULONG_PTR item) {
    for (int i = 0; i < parent.Count(); ++i)
        if (reinterpret_cast<ULONG_PTR>(parent.Items(i)) == item || Holds(*parent.Items(i), item))
            return true;
    return false;
}

} // namespace

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner), FItems(nullptr) {}

TMainMenu::~TMainMenu() {
    HWND wnd = FFormSubclass ? FFormSubclass->Handle() : nullptr;
    FFormSubclass.reset();
    if (!FHandle) return;
    if (wnd && IsWindow(wnd) && GetMenu(wnd) == FHandle) SetMenu(wnd, nullptr);
    DestroyMenu(FHandle);
}

HMENU TMainMenu::Handle() {
    if (!FHandle) {
        FHandle = CreateMenu();
        Fill(FHandle, FItems);
    }
    return FHandle;
}

void TMainMenu::Fill(HMENU menu, TMenuItem& parent) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (!item->Visible()) continue;
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA;
        info.wID = item->Command();
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        if (FOwnerDraw && menu != FHandle) info.fType = MFT_OWNERDRAW;
        if (item->IsLine()) {
            info.fType |= MFT_SEPARATOR;
            InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
            continue;
        }
        std::string label = item->Caption();
        if (!item->ShortCutText().empty()) label += "\t" + item->ShortCutText();
        std::wstring text = ToWide(label);
        info.fMask |= MIIM_STRING;
        info.dwTypeData = text.data();
        info.fState = (item->Enabled() ? 0 : MFS_GRAYED) | (item->Checked() ? MFS_CHECKED : 0) |
                      (item->Default() ? MFS_DEFAULT : 0);
        item->FHandle = nullptr;
        if (item->Count() > 0) {
            item->FHandle = CreatePopupMenu();
            Fill(item->FHandle, *item);
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = item->FHandle;
        }
        InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
    }
}

void TMainMenu::RebuildItem(TMenuItem& item) {
    if (!item.FHandle) return;
    while (GetMenuItemCount(item.FHandle) > 0)
        DeleteMenu(item.FHandle, 0, MF_BYPOSITION); // submenus within go too
    Fill(item.FHandle, item);
}

TMenuItem* TMainMenu::FindItem(UINT command) {
    return Find(FItems, command);
}

void TMainMenu::SetOwnerDraw(bool value) {
    if (value == FOwnerDraw) return;
    FOwnerDraw = value;
    if (!FHandle) return;
    for (int i = 0; i < FItems.Count(); ++i)
        RebuildItem(*FItems.Items(i));
}

// Owner-drawn items of this menu go to the handlers.
bool TMainMenu::OwnerMessage(TMessage& message) {
    if (!FOwnerDraw || !OnMeasureItem || !OnDrawItem) return false;
    if (message.Msg == WM_MEASUREITEM) {
        auto mis = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (mis->CtlType != ODT_MENU || !Holds(FItems, mis->itemData)) return false;
        auto item = reinterpret_cast<TMenuItem*>(mis->itemData);
        int width = 0, height = 0;
        TWindowDC dc(nullptr);
        OnMeasureItem(item, dc.Get(), width, height);
        mis->itemWidth = width;
        mis->itemHeight = height;
    } else {
        auto dis = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
        if (dis->CtlType != ODT_MENU || !Holds(FItems, dis->itemData)) return false;
        auto item = reinterpret_cast<TMenuItem*>(dis->itemData);
        OnDrawItem(item, dis->hDC, dis->rcItem, (dis->itemState & ODS_SELECTED) != 0);
    }
    message.Result = TRUE;
    return true;
}

void TMainMenu::AttachTo(TWinControl& form) {
    FFormSubclass = std::make_unique<TWindowSubclass>(
        form.Handle(), TWndMethod::Of<&TMainMenu::FormMessage>(this));
    SetMenu(form.Handle(), Handle());
    // The window is told (a skin's menu bar takes the new menu).
    SendMessageW(form.Handle(), CM_MENUCHANGED, 0, 0);
}

void TMainMenu::FormMessage(TMessage& message) {
    if (message.Msg == WM_COMMAND && message.LParam == 0 && HIWORD(message.WParam) == 0) {
        if (TMenuItem* item = FindItem(LOWORD(message.WParam))) {
            item->Click();
            message.Result = 0;
            return;
        }
    }
    if ((message.Msg == WM_MEASUREITEM || message.Msg == WM_DRAWITEM) && OwnerMessage(message))
        return;
    if (message.Msg == WM_NCDESTROY) {
        FFormSubclass->CallPrevious(message);
        FFormSubclass.reset();
        FHandle = nullptr; // destroyed with the window
        return;
    }
    FFormSubclass->CallPrevious(message);
}
