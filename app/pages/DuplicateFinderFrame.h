#pragma once
// The "Duplicate" tab of the junk cleaner: lists files that equal an earlier file of
// the same name by the criteria checked.
#include "app/finders/DuplicateSearch.h"
#include "app/pages/ExclusionGroup.h"
#include "app/pages/FinderFrame.h"
#include "classlib/gui/CheckBox.h"
#include <memory>

class TTDuplicateFinder : public TFinderFrame {
public:
    explicit TTDuplicateFinder(TComponent* owner);
    // The search thread reads this page's search state: it ends first.
    ~TTDuplicateFinder() override { FindFile->Abort(); }

    TCheckBox *DupName_CheckBox, *DupSize_CheckBox, *DupDT_CheckBox, *DupAttr_CheckBox,
        *DupSkipZero_CheckBox, *DupSameContent_CheckBox, *DupSkipReadOnlySys_CheckBox;
    TExclusionGroup *DupExcludeExt, *DupExcludeFiles, *DupExcludeDir;

protected:
    void StartSearch() override;
    void FileFound(const TFoundFile& file) override; // search thread

private:
    void AddRow(const TDuplicateRow& row);

    // Made at each start, used by the search thread only while the search runs; a
    // stop cancels it from the main thread.
    std::unique_ptr<TDuplicateSearch> FSearch;
    TFinderExclusions FExclusions;
};

// "arhs" with "-" for each attribute the file lacks.
std::string PermissionText(DWORD attributes);
