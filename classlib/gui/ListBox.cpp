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

constexpr TItemStrings::TMessages ListBoxMessages{LB_ADDSTRING,    LB_INSERTSTRING, LB_DELETESTRING,
                                                  LB_RESETCONTENT, LB_SETITEMDATA,  LB_GETCURSEL,
                                                  LB_SETCURSEL};
constexpr TItemStrings::TMessages ComboBoxMessages{
    CB_ADDSTRING,   CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
    CB_SETITEMDATA, CB_GETCURSEL,    CB_SETCURSEL};

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
}

void TListBox::DestroyWnd() {
    FItems.KeepItemIndex();
    TWinControl::DestroyWnd();
}

int TListBox::ItemIndex() const {
    return FItems.ItemIndex();
}

void TListBox::SetItemIndex(int index) {
    FItems.SetItemIndex(index);
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
}

void TComboBox::DestroyWnd() {
    FItems.KeepItemIndex();
    TWinControl::DestroyWnd();
}

int TComboBox::ItemIndex() const {
    return FItems.ItemIndex();
}

void TComboBox::SetItemIndex(int index) {
    FItems.SetItemIndex(index);
    if (!HandleAllocated()) FText = index >= 0 && index < FItems.Count() ? FItems[index] : "";
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
