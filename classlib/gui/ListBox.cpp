#include "classlib/gui/ListBox.h"
#include "classlib/gui/TypInfo.h"

namespace {

[[maybe_unused]] const bool Registered =
    RegisterPublished<TCustomListControl>({
        Published("ItemIndex", &TCustomListControl::ItemIndex, &TCustomListControl::SetItemIndex),
    }) &&
    RegisterPublished<TComboBox>({
        Published("Style", &TComboBox::Style, &TComboBox::SetStyle,
                  {"csDropDown", "csDropDownList", "csSimple"}),
    });

constexpr TItemStrings::TMessages ListBoxMessages{LB_ADDSTRING,    LB_INSERTSTRING, LB_DELETESTRING,
                                                  LB_RESETCONTENT, LB_SETITEMDATA,  LB_GETCURSEL,
                                                  LB_SETCURSEL};
constexpr TItemStrings::TMessages ComboBoxMessages{
    CB_ADDSTRING,   CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
    CB_SETITEMDATA, CB_GETCURSEL,    CB_SETCURSEL};

} // namespace

void TCustomListControl::DestroyWnd() {
    FItems.KeepItemIndex();
    TWinControl::DestroyWnd();
}

void TCustomListControl::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) return Notified(HIWORD(message.WParam));
    TWinControl::WndProc(message);
}

TListBox::TListBox(TComponent* owner) : TCustomListBox(owner, ListBoxMessages) {
    FWidth = 121;
    FHeight = 97;
    SetColor(clWindow);
    SetTabStop(true);
}

void TListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "LISTBOX";
    params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    if (FMultiSelect) params.Style |= LBS_EXTENDEDSEL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::SetMultiSelect(bool value) {
    FMultiSelect = value;
    if (HandleAllocated()) RecreateWnd();
}

bool TListBox::Selected(int index) {
    if (!HandleAllocated()) return false;
    return SendMessageW(Handle(), LB_GETSEL, index, 0) > 0;
}

void TListBox::Notified(WORD code) {
    if (code == LBN_SELCHANGE)
        Click();
    else if (code == LBN_DBLCLK && OnDblClick)
        OnDblClick(this);
}

TComboBox::TComboBox(TComponent* owner) : TCustomComboBox(owner, ComboBoxMessages) {
    FWidth = 145;
    FHeight = 21;
    SetColor(clWindow);
    SetTabStop(true);
}

void TComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "COMBOBOX";
    params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
    params.Style |= FStyle == csDropDownList ? CBS_DROPDOWNLIST
                    : FStyle == csSimple     ? CBS_SIMPLE
                                             : CBS_DROPDOWN;
    params.Height = 200; // the window's height includes its drop-down list
}

void TComboBox::SetItemIndex(int index) {
    FItems.SetItemIndex(index);
    if (!HandleAllocated()) FText = index >= 0 && index < FItems.Count() ? FItems[index] : "";
}

void TComboBox::SetStyle(TComboBoxStyle style) {
    FStyle = style;
    RecreateWnd();
}

void TComboBox::Notified(WORD code) {
    if ((code == CBN_SELCHANGE || code == CBN_EDITCHANGE) && OnChange) OnChange(this);
}
