#pragma once
// TTrackBar: the horizontal track bar of the common controls (superclassed
// "msctls_trackbar32") over a 32-bit range. OnChange fires (main thread) when the
// position changes, by the user or by code.
#include "classlib/gui/WinControl.h"

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* owner);

    [[nodiscard]] int Min() const { return FMin; }
    void SetMin(int value);
    [[nodiscard]] int Max() const { return FMax; }
    void SetMax(int value);
    [[nodiscard]] int Position() const { return FPosition; }
    void SetPosition(int value); // kept within Min..Max

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;

private:
    void ApplyRange();
    void MoveTo(int value);

    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;
};
