#pragma once
// TCheckBox and TRadioButton: system buttons (superclassed "BUTTON") whose check state
// the class keeps. A click, or setting Checked to a new value, fires OnClick; a radio
// button that becomes checked unchecks the radio buttons beside it (same parent).
#include "classlib/gui/WinControl.h"

class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* owner);
    [[nodiscard]] bool Checked() const { return FChecked; }
    virtual void SetChecked(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;
    void CNCommand(TMessage& message);
    void CMDialogChar(TMessage& message);
    virtual void Toggle() = 0; // the user clicked

    bool FChecked = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// Any check box: the class a skin tests controls for.
class TCustomCheckBox : public TButtonControl {
public:
    using TButtonControl::TButtonControl;
};

class TCheckBox : public TCustomCheckBox {
public:
    explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
    [[nodiscard]] TCheckBoxState State() const { return FChecked ? cbChecked : cbUnchecked; }
    void SetState(TCheckBoxState state) { SetChecked(state == cbChecked); }

protected:
    void CreateParams(TCreateParams& params) override;
    void Toggle() override { SetChecked(!FChecked); }
};

class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* owner) : TButtonControl(owner) {}
    void SetChecked(bool value) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Toggle() override { SetChecked(true); }
};
