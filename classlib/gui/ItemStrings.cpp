#include "classlib/gui/ItemStrings.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/WinControl.h"

LRESULT TItemStrings::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND wnd = FControl.HandleIfAllocated();
    return wnd ? SendMessageW(wnd, msg, wParam, lParam) : 0;
}

void TItemStrings::SetObject(int index, void* object) {
    FList.SetObject(index, object);
    Send(FMessages.SetItemData, index, reinterpret_cast<LPARAM>(object));
}

int TItemStrings::Add(const std::string& s, void* object) {
    int index = Count();
    Insert(index, s, object);
    return index;
}

void TItemStrings::Insert(int index, const std::string& s, void* object) {
    FList.Insert(index, s, object);
    Send(FMessages.InsertString, index, reinterpret_cast<LPARAM>(ToWide(s).c_str()));
    Send(FMessages.SetItemData, index, reinterpret_cast<LPARAM>(object));
}

void TItemStrings::Delete(int index) {
    FList.Delete(index);
    Send(FMessages.DeleteString, index, 0);
}

void TItemStrings::Clear() {
    FList.Clear();
    Send(FMessages.ResetContent, 0, 0);
}

void TItemStrings::FillWindow() {
    Send(FMessages.ResetContent, 0, 0);
    for (int i = 0; i < Count(); ++i) {
        Send(FMessages.AddString, 0, reinterpret_cast<LPARAM>(ToWide(FList[i]).c_str()));
        Send(FMessages.SetItemData, i, reinterpret_cast<LPARAM>(FList.Objects(i)));
    }
    Send(FMessages.SetCurSel, FItemIndex, 0);
}

int TItemStrings::ItemIndex() const {
    HWND wnd = FControl.HandleIfAllocated();
    return wnd ? static_cast<int>(SendMessageW(wnd, FMessages.GetCurSel, 0, 0)) : FItemIndex;
}

void TItemStrings::SetItemIndex(int index) {
    FItemIndex = index;
    Send(FMessages.SetCurSel, index, 0);
}

void TItemStrings::KeepItemIndex() {
    FItemIndex = ItemIndex();
}
