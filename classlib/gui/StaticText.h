#pragma once
// TStaticText: a caption in a window of its own (superclassed "STATIC").
#include "classlib/gui/WinControl.h"

class TStaticText : public TWinControl {
public:
    explicit TStaticText(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
};
