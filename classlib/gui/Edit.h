#pragma once
// TCustomEdit: the system edit control (superclassed "EDIT"); TEdit is its one-line
// form. OnChange fires (main thread) whenever the text changes.
#include "classlib/gui/WinControl.h"

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* owner);

    [[nodiscard]] bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    [[nodiscard]] int MaxLength() const { return FMaxLength; } // 0: no limit
    void SetMaxLength(int value);
    // Shown for every character in place of the text; 0 shows the text.
    [[nodiscard]] char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char value);
    void SelectAll();
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;
    void CNCommand(TMessage& message);

private:
    // Grey text on the face colour.
    static void CNCtlColorDisabled(TMessage& message);
    // A one-line edit takes pasted text without the characters a setting cannot hold.
    void PasteOneLine();

    bool FReadOnly = false;
    int FMaxLength = 0;
    char FPasswordChar = 0;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
};
