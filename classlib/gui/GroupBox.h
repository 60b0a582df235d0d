#pragma once
// TGroupBox: an etched frame with its caption on the top edge, holding controls.
#include "classlib/gui/CustomControl.h"

// Any group box: the class a skin tests controls for.
class TCustomGroupBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

class TGroupBox : public TCustomGroupBox {
public:
    explicit TGroupBox(TComponent* owner);

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
    void AdjustClientRect(RECT& rect) override;
};
