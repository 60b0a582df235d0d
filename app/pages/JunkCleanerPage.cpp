#include "app/pages/JunkCleanerPage.h"
#include "classlib/gui/Dialogs.h"
#include "classlib/gui/PlaceControl.h"
#include <utility>

namespace {

template <class T>
T* PlaceOnSheet(TComponent* owner, TPageControl* pages, const char* name, const char* caption) {
    auto sheet = new TTabSheet(owner);
    sheet->SetName(name);
    sheet->SetCaption(caption);
    sheet->SetPageControl(pages);
    auto frame = new T(owner);
    frame->SetParent(sheet);
    frame->SetAlign(alClient);
    return frame;
}

} // namespace

TTJunkCleaner::TTJunkCleaner(TComponent* owner) : TPageFrame(owner) {
    SetName("TTJunkCleaner1");
    SetLayoutBounds(this, {0, 0, PageClientWidth, PageClientHeight});
    using namespace Layout;
    // The folders group above the finders' tabs; in it the list with its buttons beside it.
    constexpr TBounds searchIn{4, 0, 616, 84}, folders{Margin, 18, 476, 60};
    constexpr TGrid buttons = Down(folders.Right() + 10, folders.Top, 112, TallButtonHeight, 5);
    SearchIn_GroupBox = Place<TGroupBox>(this, this, "SearchIn_GroupBox", "Search In:", searchIn);
    Folders_ListBox = Place<TListBox>(this, SearchIn_GroupBox, "Folders_ListBox", "", folders);
    Folders_ListBox->SetMultiSelect(true);
    AddFolder_Button = Place<TButton>(this, SearchIn_GroupBox, "AddFolder_Button", "Add &Folder ",
                                      buttons.Cell(0, 0));
    FolderDel_Button = Place<TButton>(this, SearchIn_GroupBox, "FolderDel_Button", "Folder D&el   ",
                                      buttons.Cell(0, 1));
    AddFolder_Button->OnClick = [this](TObject* sender) { AddFolder_ButtonClick(sender); };
    FolderDel_Button->OnClick = [this](TObject* sender) { FolderDel_ButtonClick(sender); };

    Main_PageControl =
        Place<TPageControl>(this, this, "Main_PageControl", "", searchIn.Below(4, 472));
    TTDuplicateFinder1 =
        PlaceOnSheet<TTDuplicateFinder>(this, Main_PageControl, "Dup_TabSheet", "Duplicate");
    TTJunkFinder1 =
        PlaceOnSheet<TTJunkFinder>(this, Main_PageControl, "JunkFiles_TabSheet", "Junk");
    TTDLLFinder1 = PlaceOnSheet<TTDLLFinder>(this, Main_PageControl, "DLL_TabSheet", "DLL Cleaner");
    TTRestoration1 =
        PlaceOnSheet<TTRestoration>(this, Main_PageControl, "Restore_TabSheet", "Restoration");
    Dup_TabSheet = Main_PageControl->Pages(0);
    JunkFiles_TabSheet = Main_PageControl->Pages(1);
    DLL_TabSheet = Main_PageControl->Pages(2);
    Restore_TabSheet = Main_PageControl->Pages(3);
    // The list is read when its tab first shows, and again after every store.
    Restore_TabSheet->OnShow = [this](TObject*) {
        if (!std::exchange(FRestorationShown, true)) TTRestoration1->Refresh_ButtonClick(nullptr);
    };
    for (TFinderFrame* finder : Finders()) {
        finder->Folders = Folders_ListBox;
        finder->AddFolder = [this] { AddFolder_ButtonClick(AddFolder_Button); };
    }
}

std::array<TFinderFrame*, 3> TTJunkCleaner::Finders() const {
    return {TTDuplicateFinder1, TTJunkFinder1, TTDLLFinder1};
}

void TTJunkCleaner::SetAppDir(const std::string& appDir) {
    FStore = std::make_unique<TRemovedFileStore>(appDir);
    for (TFinderFrame* finder : Finders()) {
        finder->Store = FStore.get();
        finder->StoreFolder = appDir + "Backup\\";
    }
    TTRestoration1->Store = FStore.get();
    FStore->OnStored = [this] { TTRestoration1->Refresh_ButtonClick(nullptr); };
}

std::string TTJunkCleaner::RecoverStore() {
    try {
        FStore->Recover();
    } catch (const EStoreError& e) {
        return e.what();
    }
    return "";
}

void TTJunkCleaner::AddFolder_ButtonClick(TObject*) {
    const std::string folder = BrowseForFolder("Select Directory", "");
    if (!folder.empty()) Folders_ListBox->Items().Add(folder);
}

void TTJunkCleaner::FolderDel_ButtonClick(TObject*) {
    for (int i = Folders_ListBox->Items().Count() - 1; i >= 0; --i)
        if (Folders_ListBox->Selected(i)) Folders_ListBox->Items().Delete(i);
}
