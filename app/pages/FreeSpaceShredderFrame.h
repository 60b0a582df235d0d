#pragma once
// The page "Clean Free Space": the drives whose free space the shredder's free-space
// engine wipes, checked in a list of the present drives. Filling the list does not
// touch the engine; the user's first change rebuilds its items from the checks. The list is
// filled when the page is first shown.
// Main thread only.
#include "app/pages/PageFrame.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/ListView.h"
#include <memory>
#include <vector>

class TDriveInfo {
public:
    explicit TDriveInfo(std::string root) : Root(std::move(root)) {}
    std::string Root; // "C:\"
};

class TTFreeSpaceShredder : public TPageFrame {
public:
    explicit TTFreeSpaceShredder(TComponent* owner);

    TCheckBox* chkCleanFreeSpace;
    TListView* lvDrives; // each row's Data is its TDriveInfo
    TButton* btnCleanFreeSpace;
    TButton* btnOptions;

    void LoadSettings() override;
    void FirstShow() override;

private:
    void chkCleanFreeSpaceClick();
    void lvDrivesChange();
    void btnCleanFreeSpaceClick();
    void LoadDrives();
    void AddDrive(const std::string& root);
    void ShowEngineChecks();

    std::vector<std::unique_ptr<TDriveInfo>> FDrives;
    bool FFilling = false; // the list's tag: changes while filling are not the user's
};
