#pragma once
// The "Restoration" tab of the junk cleaner: the files in the store of removed files,
// which can be moved back where they came from, and the store's list, which can be
// forgotten. Main thread only.
#include "app/finders/RemovedFileStore.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Frame.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/ListView.h"
#include <unordered_map>

class TTRestoration : public TFrame {
public:
    explicit TTRestoration(TComponent* owner);

    TRemovedFileStore* Store = nullptr; // set by the page before any command
    TListView* Restore_ListView;
    TGroupBox* Restoration_GroupBox;
    TButton *Restore_Button, *Refresh_Button, *RestoreClear_Button;

    void Refresh_ButtonClick(TObject* Sender);
    void Restore_ButtonClick(TObject* Sender);
    void RestoreClear_ButtonClick(TObject* Sender);
    // Opens the row's stored copy with the shell.
    void Restore_ListViewDblClick(TObject* Sender);

private:
    std::unordered_map<const TListItem*, TStoredFile> FRecords;
};
