#pragma once
// TButton: a push button (superclassed "BUTTON"). A click sets the parent form's
// ModalResult to the button's, then fires OnClick. Default answers Return, Cancel
// answers Escape. MultiLine wraps the caption over several lines (BS_MULTILINE).
#include "classlib/gui/WinControl.h"

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);

    [[nodiscard]] bool Default() const { return FDefault; }
    void SetDefault(bool value);
    [[nodiscard]] bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    [[nodiscard]] int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    [[nodiscard]] bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool value);
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void CNCommand(TMessage& message);
    void CMDialogKey(TMessage& message);
    void CMDialogChar(TMessage& message);

private:
    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;
    bool FMultiLine = false;
};

// True when caption marks key as its accelerator ("&Cancel" and 'c').
bool IsAccel(wchar_t key, const std::string& caption);
