#pragma once
// The "DLL Cleaner" tab of the junk cleaner: lists copies of the same library.
#include "app/finders/DLLSearch.h"
#include "app/pages/ExclusionGroup.h"
#include "app/pages/FinderFrame.h"
#include "classlib/gui/CheckBox.h"
#include <memory>

class TTDLLFinder : public TFinderFrame {
public:
    explicit TTDLLFinder(TComponent* owner);
    // The search thread reads this page's search state: it ends first.
    ~TTDLLFinder() override { FindFile->Abort(); }

    TCheckBox *DLLSize_CheckBox, *DLLVersion_CheckBox, *DLLSizeVersion_CheckBox;
    TExclusionGroup *DLLExcludeFiles, *DLLExcludeDir;

protected:
    void StartSearch() override;
    void FileFound(const TFoundFile& file) override; // search thread

private:
    // Made at each start, used by the search thread only while the search runs.
    std::unique_ptr<TDLLSearch> FSearch;
    TFinderExclusions FExclusions;
};
