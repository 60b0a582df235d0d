#pragma once
// TFrame: a container whose window class is named after the frame's own class
// ("TTWindowsFrame"), the base of the program's pages. Main thread only.
#include "classlib/gui/CustomControl.h"

// Any frame: the class a skin tests controls for.
class TCustomFrame : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

class TFrame : public TCustomFrame {
public:
    explicit TFrame(TComponent* owner);
};
