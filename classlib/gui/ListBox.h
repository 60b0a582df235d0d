#pragma once
// TListBox (superclassed "LISTBOX") and TComboBox (superclassed "COMBOBOX"), unsorted.
// OnClick (list box) and OnChange (combo box) fire on the main thread when the user
// changes the selection or, for a drop-down combo box, the text.
#include "classlib/gui/ItemStrings.h"
#include "classlib/gui/WinControl.h"

class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* owner);
    TItemStrings& Items() { return FItems; }
    [[nodiscard]] int ItemIndex() const; // -1: none
    void SetItemIndex(int index);
    TNotifyEvent OnDblClick;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void CNCommand(TMessage& message);

private:
    TItemStrings FItems;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);
    TItemStrings& Items() { return FItems; }
    [[nodiscard]] int ItemIndex() const;
    void SetItemIndex(int index);
    [[nodiscard]] TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle style);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void CNCommand(TMessage& message);

private:
    TItemStrings FItems;
    TComboBoxStyle FStyle = csDropDown;
};
