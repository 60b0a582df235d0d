#pragma once
// The "Browsers" sheet: a page of items for each browser with its default command,
// and the note on the items that need a restart. The main window binds the switch
// back to the Windows items.
#include "app/pages/BrowserFrames.h"
#include "app/pages/InternetExplorerFrame.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/PageControl.h"
#include <vector>

class TBrowsersPage : public TPageFrame {
public:
    explicit TBrowsersPage(TComponent* owner);

    void SetEngine(TEraserEngine* engine) override;
    void SetDefaults() override;
    void LoadSettings() override;
    void RunningChanged(bool running) override;

    TPageControl* pagBrowsers;
    TTabSheet *tabIE, *tabNetscapeMozilla, *tabOpera, *tabAOL;
    TTInternetExplorer* TTInternetExplorer1;
    TTNetscapeMozilla* TTNetscapeMozilla1;
    TTOpera* TTOpera1;
    TTAOL* TTAOL1;
    TButton *cmdIEDefault, *cmdNetscapeDefault, *cmdOperaDefault, *cmdAOLDefault, *Button1;
    TButton* Button2; // hidden: a second switch to the Windows items
    TLabel* StaticText2;

private:
    [[nodiscard]] std::vector<TItemFrame*> ItemFrames() const;
};
