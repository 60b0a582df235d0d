#pragma once
// TPanel: a container window with an optional raised or lowered edge. TFrame: a
// container whose window class is named after the frame's class ("TTWindowsFrame"),
// the base of the program's pages. Main thread only.
#include "classlib/gui/WinControl.h"

enum TPanelBevel { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* owner);
    [[nodiscard]] TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel value);

protected:
    void PaintWindow(HDC dc) override;

private:
    TPanelBevel FBevelOuter = bvRaised;
};

class TFrame : public TWinControl {
public:
    explicit TFrame(TComponent* owner);
};
