#pragma once
// The "About" page: the program's icon, name and version.
#include "classlib/gui/Frame.h"
#include "classlib/gui/Image.h"
#include "classlib/gui/Label.h"

class TTAbout : public TFrame {
public:
    explicit TTAbout(TComponent* owner);

    TImage* Image1; // the application's icon
    TLabel* labAppName;
    TLabel* labVersion;
};
