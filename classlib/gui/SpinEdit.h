#pragma once
// TSpinEdit: an edit for a whole number with up and down arrows inside its right
// edge. With MinValue equal to MaxValue the value has no limits; otherwise Value is
// kept within them. Text that is not a number reads as MinValue.
#include "classlib/gui/Edit.h"

class TSpinEdit : public TCustomEdit {
public:
    explicit TSpinEdit(TComponent* owner);

    [[nodiscard]] int Value() const;
    void SetValue(int value);
    [[nodiscard]] int MinValue() const { return FMinValue; }
    void SetMinValue(int value) { FMinValue = value; }
    [[nodiscard]] int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value) { FMaxValue = value; }
    [[nodiscard]] int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;

private:
    [[nodiscard]] int Checked(int64_t value) const;
    void PlaceArrows();

    int FMinValue = 0;
    int FMaxValue = 0;
    int FIncrement = 1;
    HWND FArrows = nullptr; // a child window of the edit, destroyed with it
};
