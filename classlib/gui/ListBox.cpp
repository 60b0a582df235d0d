#include "classlib/gui/ListBox.h"
#include "classlib/gui/TypInfo.h"

namespace {

[[maybe_unused]] const bool Registered =
    RegisterPublished<TListBox>({
        Published("ItemIndex", &TListBox::ItemIndex, &TListBox::SetItemIndex),
    }) &&
    RegisterPublished<TComboBox>({
        Published("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex),
        Published("Style", &TComboBox::Style, &TComboBox::SetStyle,
                  {"csDropDown", "csDropDownList"}),
    });

constexpr TItemStrings::TMessages ListBoxMessages{LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING,
                                                  LB_RESETCONTENT, LB_SETITEMDATA};
constexpr TItemStrings::TMessages ComboBoxMessages{CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING,
                                                   CB_RESETCONTENT, CB_SETITEMDATA};

} // namespace

TListBox::TListBox(TComponent* owner) : TWinControl(owner), FItems(*this, ListBoxMessages) {
    FWidth = 121;
    FHeight = 97;
    SetColor(clWindow);
    SetTabStop(true);
}

void TListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "LISTBOX";
    params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::InitializeWnd() {
    FItems.FillWindow();
    SendMessageA(Handle(), LB_SETCURSEL, FItemIndex, 0);
}

void TListBox::DestroyWnd() {
    FItemIndex = ItemIndex();
    TWinControl::DestroyWnd();
}

int TListBox::ItemIndex() const {
    HWND wnd = HandleIfAllocated();
    return wnd ? static_cast<int>(SendMessageA(wnd, LB_GETCURSEL, 0, 0)) : FItemIndex;
}

void TListBox::SetItemIndex(int index) {
    FItemIndex = index;
    if (HandleAllocated()) SendMessageA(Handle(), LB_SETCURSEL, index, 0);
}

void TListBox::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) return CNCommand(message);
    TWinControl::WndProc(message);
}

void TListBox::CNCommand(TMessage& message) {
    switch (HIWORD(message.WParam)) {
    case LBN_SELCHANGE:
        Click();
        break;
    case LBN_DBLCLK:
        if (OnDblClick) OnDblClick(this);
        break;
    default:
        break;
    }
}

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner), FItems(*this, ComboBoxMessages) {
    FWidth = 145;
    FHeight = 21;
    SetColor(clWindow);
    SetTabStop(true);
}

void TComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "COMBOBOX";
    params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
    params.Style |= FStyle == csDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN;
    params.Height = 200; // the window's height includes its drop-down list
}

void TComboBox::InitializeWnd() {
    FItems.FillWindow();
    SendMessageA(Handle(), CB_SETCURSEL, FItemIndex, 0);
}

void TComboBox::DestroyWnd() {
    FItemIndex = ItemIndex();
    TWinControl::DestroyWnd();
}

int TComboBox::ItemIndex() const {
    HWND wnd = HandleIfAllocated();
    return wnd ? static_cast<int>(SendMessageA(wnd, CB_GETCURSEL, 0, 0)) : FItemIndex;
}

void TComboBox::SetItemIndex(int index) {
    FItemIndex = index;
    if (HandleAllocated())
        SendMessageA(Handle(), CB_SETCURSEL, index, 0);
    else
        FText = index >= 0 && index < FItems.Count() ? FItems[index] : "";
}

void TComboBox::SetStyle(TComboBoxStyle style) {
    FStyle = style;
    RecreateWnd();
}

void TComboBox::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) return CNCommand(message);
    TWinControl::WndProc(message);
}

void TComboBox::CNCommand(TMessage& message) {
    WORD code = HIWORD(message.WParam);
    if ((code == CBN_SELCHANGE || code == CBN_EDITCHANGE) && OnChange) OnChange(this);
}
