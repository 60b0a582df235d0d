#pragma once
// TPanel: a container with an optional bevel and a centred caption.
#include "classlib/gui/CustomControl.h"

enum TBevelCut { bvNone, bvLowered, bvRaised };

// Any panel: the class a skin tests controls for.
class TCustomPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

class TPanel : public TCustomPanel {
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
