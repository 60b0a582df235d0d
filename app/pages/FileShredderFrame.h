#pragma once
// The page "File Shredding": a list of files and a list of folders, each the item
// list of one of the shredder's engines, with Add, Remove, Start, Stop and the
// methods dialog. While an engine runs its list cannot change and it cannot start
// again. Main thread only.
#include "app/pages/PageFrame.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Dialogs.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/ListView.h"

// One list with its four buttons.
struct TShredGroup {
    TListView* List;
    TButton *Add, *Remove, *Start, *Stop;
};

class TTFileShredder : public TPageFrame {
public:
    explicit TTFileShredder(TComponent* owner);

    TGroupBox* grpFiles;
    TListView* lvFiles; // each row's Data is its TWipeItem
    TButton *btnAddFiles, *btnRemoveFiles, *btnStartShredFiles, *btnStopShredFiles;
    TGroupBox* grpFolders;
    TListView* lvFolders;
    TButton *btnAddFolder, *btnRemoveFolders, *btnStartShredFolders, *btnStopShredFolders;
    TOpenDialog* OpenDialog;
    TButton* btnOptions; // the files' methods
    TButton* Button1;    // the folders' methods

    void AddFileItem(TWipeItem* item);
    void AddFolderItem(TWipeItem* item);
    // Refills both lists from the engines, in item order.
    void LoadLists();
    void LoadSettings() override;
    void FirstShow() override;
    void UpdateButtons();

    void btnAddFilesClick(TObject* Sender);
    void btnAddFolderClick(TObject* Sender);

private:
    void BindGroup(const TShredGroup& group);
    [[nodiscard]] TWipeEngine& EngineOf(const TShredGroup& group) const;
    void AddRow(TListView* list, TWipeItem* item, const std::string& parent);
    void UpdateGroup(const TShredGroup& group);
    void RemoveSelected(const TShredGroup& group);
    void StartShred(const TShredGroup& group);

    TShredGroup FFiles{}, FFolders{};
};
