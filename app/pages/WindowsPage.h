#pragma once
// The "Windows" sheet: the Windows items, their default command and the note on the
// items that need a restart. The main window binds the switch to the browsers.
#include "app/pages/WindowsFrame.h"
#include "classlib/gui/Label.h"

class TWindowsPage : public TPageFrame {
public:
    explicit TWindowsPage(TComponent* owner);

    void SetEngine(TEraserEngine* engine) override;
    void SetDefaults() override;
    void LoadSettings() override;

    TTWindowsFrame* TTWindowsFrame1;
    TButton *cmdWindowsDefault, *Button4;
    TButton* Button3; // hidden: "Intenet Browsers", a second switch to the browser items
    TLabel* StaticText1;
};

// Shown below the item pages.
extern const char* const RebootNote;
