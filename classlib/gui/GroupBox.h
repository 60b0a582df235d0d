#pragma once
// TGroupBox: an etched frame with its caption on the top edge, holding controls.
#include "classlib/gui/CustomControl.h"

class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* owner);

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
    void AdjustClientRect(RECT& rect) override;
};
