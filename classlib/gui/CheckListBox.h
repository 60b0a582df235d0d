#pragma once
// TCheckListBox: a list box with a check box before each item. A click on the box or
// the space bar toggles the item's check and fires OnClickCheck (main thread).
#include "classlib/gui/ListBox.h"

class TCheckListBox : public TListBox {
public:
    explicit TCheckListBox(TComponent* owner) : TListBox(owner) {}
    [[nodiscard]] bool Checked(int index) const;
    void SetChecked(int index, bool value);
    TNotifyEvent OnClickCheck;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& draw);
    void Toggle(int index);
};
