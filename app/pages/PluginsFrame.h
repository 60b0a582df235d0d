#pragma once
// The "Plug-ins" page: lists the plug-in files of the "Plugins" folder and keeps the
// checked ones in the plug-in manager, which "prefs.dat" stores and the cleaning run
// executes. Main thread only.
#include "app/pages/PageFrame.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/ListView.h"
#include <memory>
#include <vector>

class TTPlugins : public TPageFrame {
public:
    explicit TTPlugins(TComponent* owner);

    // Lists the plug-in files again, checked as the manager says; selection and
    // scroll position stay. Files that cannot be loaded are left out and named in
    // Unloadable.
    void LoadPlugins();
    // At start the main window tells of the files that could not be loaded.
    void LoadSettings() override { LoadPlugins(); }
    // "&Refresh": the list again, and one message naming the files that failed.
    void btnRefreshClick(TObject* Sender);
    // The checked rows' files become the manager's checked plug-ins, in row order;
    // a checked file that could not be loaded keeps its check.
    void SaveSelection();
    void btnDazavuRovezozClick(TObject* Sender);

    TLabel* lblSelectPlugins;
    TListView* lvPlugins;
    TButton *btnRefresh, *btnDazavuRovezoz, *btnSelectAll, *btnRemoveAll;
    // "These plug-ins could not be loaded:" and the files, one a line; empty when
    // the last listing loaded every file.
    std::string Unloadable;

private:
    void CheckAll(bool checked);

    std::vector<std::unique_ptr<TPlugin>> FPlugins; // the rows' data
    std::vector<std::string> FUnloaded;             // listed files without a row
};
