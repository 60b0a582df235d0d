#pragma once
// The "About" page: the program's icon, name and version.
#include "app/pages/PageFrame.h"
#include "classlib/gui/Image.h"
#include "classlib/gui/Label.h"

class TTAbout : public TPageFrame {
public:
    explicit TTAbout(TComponent* owner);

    TImage* Image1; // the application's icon
    TLabel* labAppName;
    TLabel* labVersion;
};
