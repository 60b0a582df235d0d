#pragma once
// The "Junk Cleaner" sheet: the folders to search ("Search In:"), shared by the
// duplicate, junk and DLL finders on their tabs, and the store of removed files on
// the "Restoration" tab. Main thread only.
#include "app/finders/RemovedFileStore.h"
#include "app/pages/DLLFinderFrame.h"
#include "app/pages/DuplicateFinderFrame.h"
#include "app/pages/JunkFinderFrame.h"
#include "app/pages/PageFrame.h"
#include "app/pages/RestorationFrame.h"
#include "classlib/gui/PageControl.h"
#include <array>
#include <memory>

class TTJunkCleaner : public TPageFrame {
public:
    explicit TTJunkCleaner(TComponent* owner);

    // The program folder, with a trailing backslash: the store lives there.
    void SetAppDir(const std::string& appDir);
    // Records the files a batch that did not end left in the store without a record
    // (at start, after SetAppDir); why that failed, or "".
    std::string RecoverStore();

    TGroupBox* SearchIn_GroupBox;
    TListBox* Folders_ListBox;
    TButton *AddFolder_Button, *FolderDel_Button;
    TPageControl* Main_PageControl;
    TTabSheet *Dup_TabSheet, *JunkFiles_TabSheet, *DLL_TabSheet, *Restore_TabSheet;
    TTDuplicateFinder* TTDuplicateFinder1;
    TTJunkFinder* TTJunkFinder1;
    TTDLLFinder* TTDLLFinder1;
    TTRestoration* TTRestoration1;

    void AddFolder_ButtonClick(TObject* Sender);
    void FolderDel_ButtonClick(TObject* Sender);

private:
    [[nodiscard]] std::array<TFinderFrame*, 3> Finders() const;

    std::unique_ptr<TRemovedFileStore> FStore;
    bool FRestorationShown = false;
};
