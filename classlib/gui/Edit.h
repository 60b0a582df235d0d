#pragma once
// TEdit: a one-line edit (superclassed "EDIT"). With a PasswordChar it shows that
// character for every one typed. OnChange fires on the main thread after each change
// of the text, by the user or by code.
#include "classlib/gui/WinControl.h"

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);

    [[nodiscard]] char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char value);
    [[nodiscard]] bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    void Clear() { SetText(""); }
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;

private:
    char FPasswordChar = 0;
    bool FReadOnly = false;
};
