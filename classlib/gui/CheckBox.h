#pragma once
// TCheckBox and TRadioButton: check buttons (superclassed "BUTTON"). A change of
// Checked, by a click or by code, fires OnClick (main thread); setting the state a
// box already has fires nothing. Checking a radio button unchecks the radio buttons
// beside it on the same parent.
#include "classlib/gui/WinControl.h"

class TButtonControl : public TWinControl {
public:
    [[nodiscard]] bool Checked() const;
    void SetChecked(bool value);

protected:
    TButtonControl(TComponent* owner, DWORD buttonStyle);
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;
    virtual void CheckedChanged() {}

private:
    DWORD FButtonStyle;
    bool FChecked = false;
};

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* owner) : TButtonControl(owner, BS_CHECKBOX) {}
};

class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* owner) : TButtonControl(owner, BS_RADIOBUTTON) {}

protected:
    void CheckedChanged() override;
};
