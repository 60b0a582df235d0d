#pragma once
// TListBox (superclassed "LISTBOX") and TComboBox (superclassed "COMBOBOX"), unsorted,
// on one base that keeps their items and selection across window re-creation.
// OnClick (list box) and OnChange (combo box) fire on the main thread when the user
// changes the selection or, for a drop-down combo box, the text.
#include "classlib/gui/ItemStrings.h"
#include "classlib/gui/WinControl.h"

class TCustomListControl : public TWinControl {
public:
    TItemStrings& Items() { return FItems; }
    [[nodiscard]] int ItemIndex() const { return FItems.ItemIndex(); } // -1: none
    virtual void SetItemIndex(int index) { FItems.SetItemIndex(index); }

protected:
    TCustomListControl(TComponent* owner, const TItemStrings::TMessages& messages)
        : TWinControl(owner), FItems(*this, messages) {}
    void InitializeWnd() override { FItems.FillWindow(); }
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    // The control's notification (HIWORD of wParam of its reflected WM_COMMAND).
    virtual void Notified(WORD code) = 0;

    TItemStrings FItems;
};

// Any list box: the class a skin tests controls for.
class TCustomListBox : public TCustomListControl {
public:
    using TCustomListControl::TCustomListControl;
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(TComponent* owner);
    // Several items may be selected (with Shift and Ctrl); ItemIndex is then the
    // focused one.
    [[nodiscard]] bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    // Whether the item is selected; false without a window.
    [[nodiscard]] bool Selected(int index);
    TNotifyEvent OnDblClick;

protected:
    void CreateParams(TCreateParams& params) override;
    void Notified(WORD code) override;

private:
    bool FMultiSelect = false;
};

enum TComboBoxStyle { csDropDown, csDropDownList, csSimple }; // csSimple: the list always shows

// Any combo box: the class a skin tests controls for.
class TCustomComboBox : public TCustomListControl {
public:
    using TCustomListControl::TCustomListControl;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(TComponent* owner);
    void SetItemIndex(int index) override;
    [[nodiscard]] TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle style);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void Notified(WORD code) override;

private:
    TComboBoxStyle FStyle = csDropDown;
};
