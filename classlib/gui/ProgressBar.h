#pragma once
// TProgressBar: the common progress bar (superclassed "msctls_progress32") over a
// 32-bit signed range.
#include "classlib/gui/WinControl.h"

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner);

    [[nodiscard]] int Min() const { return FMin; }
    void SetMin(int value);
    [[nodiscard]] int Max() const { return FMax; }
    void SetMax(int value);
    [[nodiscard]] int Position() const { return FPosition; }
    void SetPosition(int value); // kept within Min..Max
    void StepBy(int delta);
    [[nodiscard]] int Step() const { return FStep; }
    void SetStep(int value) { FStep = value; }
    void StepIt() { StepBy(FStep); }

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;

private:
    void ApplyRange();

    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
};
