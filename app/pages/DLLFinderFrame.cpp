#include "app/pages/DLLFinderFrame.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/PlaceControl.h"

TTDLLFinder::TTDLLFinder(TComponent* owner)
    : TFinderFrame(owner, {"DLL", "Duplicate Remover", "Search Options", "DLL Cleaner", true, true},
                   175,
                   {{"FileName", 140, TListView::ckName},
                    {"FileVersion", 100},
                    {"FileSize", 80},
                    {"FilePath", TListView::FillWidth, TListView::ckPath}}) {
    SetName("TTDLLFinder1");
    constexpr TGrid boxes = Down(Layout::Margin, BoxTop, OptionsWidth - 16, BoxHeight, 0);
    int line = 0;
    auto box = [&](const char* name, const char* caption, bool checked) {
        auto b = Place<TCheckBox>(this, OptionsGroup, name, caption, boxes.Cell(0, line++));
        b->SetChecked(checked);
        return b;
    };
    DLLSize_CheckBox = box("DLLSize_CheckBox",
                           "Find duplicated DLL's with the same size as the system version", true);
    DLLVersion_CheckBox =
        box("DLLVersion_CheckBox",
            "Find duplicated DLL's with the same version number as the system version", false);
    DLLSizeVersion_CheckBox =
        box("DLLSizeVersion_CheckBox",
            "Find duplicated DLL's with the same size and version number", false);
    const int top = BoxTop + 3 * BoxHeight + 4, bottom = OptionsGroup->Height() - 6;
    DLLExcludeFiles =
        new TExclusionGroup(this, OptionsGroup, "Exclude Files", "DLLExcludeFiles_ListBox", ekFile,
                            FromEdges(8, top, 298, bottom));
    DLLExcludeDir =
        new TExclusionGroup(this, OptionsGroup, "Exclude Directories", "DLLExcludeDir_ListBox",
                            ekFolder, FromEdges(302, top, 592, bottom));
}

void TTDLLFinder::StartSearch() {
    FSearch = std::make_unique<TDLLSearch>(TDLLOptions{DLLSize_CheckBox->Checked(),
                                                       DLLVersion_CheckBox->Checked(),
                                                       DLLSizeVersion_CheckBox->Checked()});
    FExclusions = {
        {}, DLLExcludeFiles->Entries(), DLLExcludeDir->Entries(), LowerCase(StoreFolder)};
}

// Other extensions are not looked at further; a library without a version resource
// takes no part.
void TTDLLFinder::FileFound(const TFoundFile& file) {
    if (LowerExtension(file.Name) != ".dll" || FExclusions.Excludes(file)) return;
    const std::string version = GetFileVersionText(file.Path);
    for (const TDLLRow& row : FSearch->Add(file, version))
        Report({row.File.Path,
                row.File.Name,
                {row.Version, IntToStr(int64_t(row.File.Size)), row.File.Folder},
                row.Group,
                row.First});
}
