#pragma once
// TFrame: a container whose window class is named after the frame's own class
// ("TTWindowsFrame"), the base of the program's pages. Main thread only.
#include "classlib/gui/CustomControl.h"

class TFrame : public TCustomControl {
public:
    explicit TFrame(TComponent* owner);
};
