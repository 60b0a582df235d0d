#pragma once
// The items of a list box or combo box, and the selected one: kept in the object and
// mirrored into the control's window whenever it has one. Each item may carry a
// pointer (not owned).
#include "classlib/base/StringList.h"
#include <string>
#include <windows.h>

class TWinControl;

class TItemStrings {
public:
    // The control's messages for the same operations (LB_* or CB_*).
    struct TMessages {
        UINT AddString, InsertString, DeleteString, ResetContent, SetItemData, GetCurSel, SetCurSel;
    };
    TItemStrings(TWinControl& control, const TMessages& messages)
        : FControl(control), FMessages(messages) {}

    [[nodiscard]] int Count() const { return FList.Count(); }
    const std::string& operator[](int index) const { return FList[index]; }
    [[nodiscard]] void* Objects(int index) const { return FList.Objects(index); }
    void SetObject(int index, void* object);
    int Add(const std::string& s, void* object = nullptr);
    void Insert(int index, const std::string& s, void* object = nullptr);
    void Delete(int index);
    void Clear();
    [[nodiscard]] int IndexOf(const std::string& s) const { return FList.IndexOf(s); }
    [[nodiscard]] const TStringList& List() const { return FList; }

    // The selected item (-1: none): the window's while there is one.
    [[nodiscard]] int ItemIndex() const;
    void SetItemIndex(int index);

    void FillWindow();    // puts every item, and the selection, into a new window
    void KeepItemIndex(); // keeps the window's selection before the window goes

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam);

    TWinControl& FControl;
    TMessages FMessages;
    TStringList FList;
    int FItemIndex = -1; // while there is no window
};
