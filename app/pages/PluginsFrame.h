#pragma once
// The "Plug-ins" page: lists the plug-in files of the "Plugins" folder and keeps the
// checked ones in the plug-in manager, which "prefs.dat" stores and the cleaning run
// executes. Main thread only.
#include "classlib/gui/Button.h"
#include "classlib/gui/Frame.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/ListView.h"
#include "engine/EraserEngine.h"
#include <memory>
#include <vector>

class TTPlugins : public TFrame {
public:
    explicit TTPlugins(TComponent* owner);

    TEraserEngine* Engine = nullptr; // set by the main window before any other call

    // Lists the plug-in files again, checked as the manager says; selection and
    // scroll position stay. Files that cannot be loaded are named in one message.
    void LoadPlugins();
    // The checked rows' files become the manager's checked plug-ins, in row order.
    void SaveSelection();
    void btnDazavuRovezozClick(TObject* Sender);

    TLabel* lblSelectPlugins;
    TListView* lvPlugins;
    TButton *btnRefresh, *btnDazavuRovezoz, *btnSelectAll, *btnRemoveAll;

private:
    void CheckAll(bool checked);

    std::vector<std::unique_ptr<TPlugin>> FPlugins; // the rows' data
};
