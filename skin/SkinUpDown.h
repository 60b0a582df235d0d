#pragma once
// TSkinUpDown: paints an up-down (spin) arrow pair from the skin's "UpDown.Vert" or
// "UpDown.Horz" element, or with plain rectangles and line arrows when the skin has
// none. Stand-alone, inside an edit (a spin edit's arrows: kept inside the edit's
// frame) or as a tab control's scroll arrows (Horizontal). Only the pressed bit is
// kept; hot is read from the cursor at each paint. Main thread.
#include "skin/SkinControl.h"

// The state frame (1 normal, 2 pressed, 3 disabled, 4 hot) of one button: hot and
// pressed only while the cursor is inside that button.
int UpDownButtonState(const RECT& button, POINT cursor, bool enabled, bool pressed);

class TSkinUpDown : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool Horizontal = false; // forces the left/right layout

protected:
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    void PaintButton(HDC dc, const RECT& button, int index, int state, bool horizontal);
};
