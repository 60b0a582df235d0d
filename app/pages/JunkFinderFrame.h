#pragma once
// The "Junk" tab of the junk cleaner: lists files that look like leftovers by their
// names and extensions.
#include "app/finders/JunkRules.h"
#include "app/pages/ExclusionGroup.h"
#include "app/pages/FinderFrame.h"
#include "classlib/gui/CheckBox.h"

class TTJunkFinder : public TFinderFrame {
public:
    explicit TTJunkFinder(TComponent* owner);
    // The search thread reads this page's search state: it ends first.
    ~TTJunkFinder() override { FindFile->Abort(); }

    TCheckBox *JunkTemp_CheckBox, *JunkGenBak_CheckBox, *JunkComBak_CheckBox, *JunkLog_CheckBox,
        *JunkScanDisk_CheckBox, *JunkUnNec_CheckBox;
    TExclusionGroup *JunkExcludeFiles, *JunkExcludeDir, *JunkIncludeExt;

protected:
    void StartSearch() override;
    void FileFound(const TFoundFile& file) override; // search thread
    // The caption is the full path: only the name part may change.
    [[nodiscard]] std::string RenamedPath(const std::string& path,
                                          const std::string& caption) const override;

private:
    // Taken at each start, read by the search thread while the search runs.
    TJunkRules FRules;
    TFinderExclusions FExclusions;
};
