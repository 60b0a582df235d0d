#pragma once
// TPanel: a container with an optional bevel and a centred caption.
#include "classlib/gui/CustomControl.h"

enum TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* owner);

    [[nodiscard]] TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    [[nodiscard]] int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    // Filled with the parent's colour instead of its own.
    [[nodiscard]] bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool value);

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
    void AdjustClientRect(RECT& rect) override;

private:
    TBevelCut FBevelOuter = bvRaised;
    int FBorderWidth = 0;
    bool FParentBackground = false;
};
