#include "app/pages/DuplicateFinderFrame.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/PlaceControl.h"

std::string PermissionText(DWORD attributes) {
    const std::pair<DWORD, char> letters[] = {{FILE_ATTRIBUTE_ARCHIVE, 'a'},
                                              {FILE_ATTRIBUTE_READONLY, 'r'},
                                              {FILE_ATTRIBUTE_HIDDEN, 'h'},
                                              {FILE_ATTRIBUTE_SYSTEM, 's'}};
    std::string text;
    for (auto [attribute, letter] : letters)
        text += (attributes & attribute) ? letter : '-';
    return text;
}

TTDuplicateFinder::TTDuplicateFinder(TComponent* owner)
    : TFinderFrame(owner, {"Dup", "Duplicate Remover", "Search Options", "Duplicate File", true},
                   200,
                   {{"FileName", 130, TListView::ckName},
                    {"FileSize", 70},
                    {"DateTime", 130},
                    {"Permission", 70},
                    {"FilePath", TListView::FillWidth, TListView::ckPath}}) {
    SetName("TTDuplicateFinder1");
    // Two boxes a line.
    constexpr TGrid boxes{{Layout::Margin, 284, Layout::Margin}, {BoxTop, BoxHeight}};
    int row = 0;
    auto box = [&](const char* name, const char* caption) {
        auto b = Place<TCheckBox>(this, OptionsGroup, name, caption, boxes.Cell(row % 2, row / 2));
        ++row;
        b->SetChecked(true);
        return b;
    };
    DupName_CheckBox = box("DupName_CheckBox", "Same Name");
    DupSize_CheckBox = box("DupSize_CheckBox", "Same Size");
    DupDT_CheckBox = box("DupDT_CheckBox", "Same Date Time");
    DupAttr_CheckBox = box("DupAttr_CheckBox", "Same Attributes");
    DupSkipZero_CheckBox = box("DupSkipZero_CheckBox", "Skip Zero-Length Files");
    DupSameContent_CheckBox = box("DupSameContent_CheckBox", "Same Content");
    DupSkipReadOnlySys_CheckBox = box("DupSkipReadOnlySys_CheckBox", "Skip ReadOnly + System file");
    // Files of another name are never compared: the box stays checked.
    DupName_CheckBox->OnClick = [this](TObject*) { DupName_CheckBox->SetChecked(true); };

    const int top = BoxTop + 4 * BoxHeight + 4, bottom = OptionsGroup->Height() - 6;
    DupExcludeExt =
        new TExclusionGroup(this, OptionsGroup, "Exclude Extensions", "DupExcludeExt_ListBox",
                            ekExtension, FromEdges(8, top, 198, bottom));
    DupExcludeFiles =
        new TExclusionGroup(this, OptionsGroup, "Exclude Files", "DupExcludeFiles_ListBox", ekFile,
                            FromEdges(202, top, 392, bottom));
    DupExcludeDir =
        new TExclusionGroup(this, OptionsGroup, "Exclude Directories", "DupExcludeDir_ListBox",
                            ekFolder, FromEdges(396, top, 592, bottom));
    DupExcludeExt->List->Items().Add(".exe");
    DupExcludeFiles->List->Items().Add("desktop.ini");

    // The files still being read when a folder's walk ends are waited for on the
    // search thread, so that its rows are all in before the search finishes.
    FindFile->OnWalkEnd = [this](TObject*) {
        try {
            for (const TDuplicateRow& row : FSearch->Finish())
                AddRow(row);
        } catch (...) {
            LogSwallowed("the duplicate finder's last rows");
        }
    };
    FindFile->OnSearchAbort = [this](TObject*) { FSearch->Cancel(); };
}

void TTDuplicateFinder::StartSearch() {
    TDuplicateOptions options;
    options.SameSize = DupSize_CheckBox->Checked();
    options.SameDateTime = DupDT_CheckBox->Checked();
    options.SameAttributes = DupAttr_CheckBox->Checked();
    options.SkipZeroLength = DupSkipZero_CheckBox->Checked();
    options.SameContent = DupSameContent_CheckBox->Checked();
    options.SkipReadOnlySystem = DupSkipReadOnlySys_CheckBox->Checked();
    FSearch = std::make_unique<TDuplicateSearch>(options);
    FExclusions = {DupExcludeExt->Entries(), DupExcludeFiles->Entries(), DupExcludeDir->Entries(),
                   LowerCase(StoreFolder)};
}

void TTDuplicateFinder::FileFound(const TFoundFile& file) {
    if (FExclusions.Excludes(file)) return;
    for (const TDuplicateRow& row : FSearch->Add(file))
        AddRow(row);
}

void TTDuplicateFinder::AddRow(const TDuplicateRow& row) {
    const TFoundFile& file = row.File;
    Report(
        {file.Path,
         file.Name,
         {IntToStr(int64_t(file.Size)), row.DateTime, PermissionText(file.Attributes), file.Folder},
         row.Group,
         row.First});
}
