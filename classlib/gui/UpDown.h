#pragma once
// TUpDown: the up-down control (superclassed "msctls_updown32"). With an associated
// edit it sits at the edit's right and shows its position there as a number.
#include "classlib/gui/WinControl.h"

class TUpDown : public TWinControl {
public:
    explicit TUpDown(TComponent* owner);

    [[nodiscard]] TWinControl* Associate() const { return FAssociate; }
    void SetAssociate(TWinControl* edit); // not owned; the edit must outlive the link
    [[nodiscard]] int Min() const { return FMin; }
    void SetMin(int value);
    [[nodiscard]] int Max() const { return FMax; }
    void SetMax(int value);
    [[nodiscard]] int Position() const; // as the control holds it (read back from the edit)
    void SetPosition(int value);        // OnClick fires when the user moves it (main thread)

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;

private:
    TWinControl* FAssociate = nullptr;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
};
