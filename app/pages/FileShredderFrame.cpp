#include "app/pages/FileShredderFrame.h"
#include "app/MessageBoxes.h"
#include "app/pages/ShellImages.h"
#include "app/pages/ShredRun.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"

using namespace Layout;

namespace {

// In each group: the list, and beside it a column of buttons with "Options" at its foot.
constexpr TBounds List{10, 20, 480, 210};
constexpr TGrid Buttons = Down(List.Right() + 10, List.Top, 96, ButtonHeight, StackGap);
constexpr TBounds OptionsButton{Buttons.Columns.Start, List.Bottom() - ButtonHeight, 96,
                                ButtonHeight};

TShredGroup BuildGroup(TComponent* owner, TGroupBox* box, const char* list, const char* add,
                       const char* remove, const char* start, const char* stop) {
    TShredGroup group;
    group.List = Place<TListView>(owner, box, list, "", List);
    group.List->SetMultiSelect(true);
    group.List->AddColumn("Name", 100, TListView::ckName);
    group.List->AddColumn("Path", TListView::FillWidth, TListView::ckPath);
    group.Add = Place<TButton>(owner, box, add, "Add", Buttons.Cell(0, 0));
    group.Remove = Place<TButton>(owner, box, remove, "Remove", Buttons.Cell(0, 1));
    group.Start = Place<TButton>(owner, box, start, "Start", Buttons.Cell(0, 2));
    group.Stop = Place<TButton>(owner, box, stop, "Stop", Buttons.Cell(0, 3));
    return group;
}

} // namespace

TTFileShredder::TTFileShredder(TComponent* owner) : TPageFrame(owner) {
    SetName("TTFileShredder1");
    constexpr TGrid groups = Down(4, 4, 608, 260, Margin);
    grpFiles = Place<TGroupBox>(this, this, "grpFiles", " Shred Files ", groups.Cell(0, 0));
    FFiles = BuildGroup(this, grpFiles, "lvFiles", "btnAddFiles", "btnRemoveFiles",
                        "btnStartShredFiles", "btnStopShredFiles");
    lvFiles = FFiles.List;
    btnAddFiles = FFiles.Add;
    btnRemoveFiles = FFiles.Remove;
    btnStartShredFiles = FFiles.Start;
    btnStopShredFiles = FFiles.Stop;
    grpFolders = Place<TGroupBox>(this, this, "grpFolders", " Shred Folders ", groups.Cell(0, 1));
    FFolders = BuildGroup(this, grpFolders, "lvFolders", "btnAddFolder", "btnRemoveFolders",
                          "btnStartShredFolders", "btnStopShredFolders");
    lvFolders = FFolders.List;
    btnAddFolder = FFolders.Add;
    btnRemoveFolders = FFolders.Remove;
    btnStartShredFolders = FFolders.Start;
    btnStopShredFolders = FFolders.Stop;
    OpenDialog = new TOpenDialog(this);
    OpenDialog->SetName("OpenDialog");
    OpenDialog->Title = "Select files to shred";
    OpenDialog->Filter = "All Files *.*|*.*";
    OpenDialog->DefaultExt = "*.*";
    // A chosen shortcut is shredded itself, never the file it points to.
    OpenDialog->Options = ofAllowMultiSelect | ofPathMustExist | ofFileMustExist | ofHideReadOnly |
                          ofEnableSizing | ofNoDereferenceLinks;
    btnOptions = Place<TButton>(this, grpFiles, "btnOptions", "&Options", OptionsButton);
    Button1 = Place<TButton>(this, grpFolders, "Button1", "&Options", OptionsButton);

    BindGroup(FFiles);
    BindGroup(FFolders);
    btnAddFiles->OnClick = [this](TObject* sender) { btnAddFilesClick(sender); };
    btnAddFolder->OnClick = [this](TObject* sender) { btnAddFolderClick(sender); };
    btnOptions->OnClick = [this](TObject*) {
        ShowMethodsFor(*Engine->Shredder, Engine->Shredder->WipeFiles, BoxOwner(this));
    };
    Button1->OnClick = [this](TObject*) {
        ShowMethodsFor(*Engine->Shredder, Engine->Shredder->WipeFolders, BoxOwner(this));
    };
    UpdateButtons();
}

void TTFileShredder::FirstShow() {
    TImageList* images = NewSystemSmallImages(this);
    lvFiles->SetSmallImages(images);
    lvFolders->SetSmallImages(images);
}

void TTFileShredder::BindGroup(const TShredGroup& group) {
    group.Remove->OnClick = [this, group](TObject*) { RemoveSelected(group); };
    group.List->OnSelectItem = [this](TObject*, TListItem*, bool) { UpdateButtons(); };
    group.Start->OnClick = [this, group](TObject*) { StartShred(group); };
    group.Stop->OnClick = [this, group](TObject*) { EngineOf(group).Cancelled = true; };
}

TWipeEngine& TTFileShredder::EngineOf(const TShredGroup& group) const {
    return group.List == lvFiles ? Engine->Shredder->WipeFiles : Engine->Shredder->WipeFolders;
}

// The name is the file's own, as on disk: the shell's name could hide its extension.
void TTFileShredder::AddRow(TListView* list, TWipeItem* item, const std::string& parent) {
    TListItem* row = list->AddItem();
    row->SetImageIndex(ShellTypeIcon(item->Path, item->Kind == wkFolder));
    row->SetCaption(ExtractFileName(ExcludeTrailingPathDelimiter(item->Path)));
    row->AddSubItem(parent);
    row->Data = item;
}

void TTFileShredder::AddFileItem(TWipeItem* item) {
    AddRow(lvFiles, item, ExtractFilePath(item->Path));
}

void TTFileShredder::AddFolderItem(TWipeItem* item) {
    AddRow(lvFolders, item, ExtractFilePath(ExcludeTrailingPathDelimiter(item->Path)));
}

void TTFileShredder::LoadLists() {
    for (TListView* list : {lvFiles, lvFolders}) {
        list->BeginUpdate();
        list->Clear();
    }
    for (const auto& item : Engine->Shredder->WipeFiles.Items())
        AddFileItem(item.get());
    for (const auto& item : Engine->Shredder->WipeFolders.Items())
        AddFolderItem(item.get());
    lvFiles->EndUpdate();
    lvFolders->EndUpdate();
    UpdateButtons();
}

// Folders read from the settings go through the rule of Add: a refused one stays
// listed, is named here once, and its run leaves it alone.
void TTFileShredder::LoadSettings() {
    LoadLists();
    std::string refused;
    for (const auto& item : Engine->Shredder->WipeFolders.Items())
        if (IsProtectedFolder(item->Path)) refused += "\r\n" + item->Path;
    if (!refused.empty())
        ShowError(Format("These folders stay listed but cannot be shredded: %s.\r\n%s",
                         ProtectedFolderText, refused.c_str()),
                  BoxOwner(this));
}

void TTFileShredder::UpdateButtons() {
    if (!Engine) return;
    UpdateGroup(FFiles);
    UpdateGroup(FFolders);
}

// Stop follows Start as long as the engine is idle, and stays enabled while it runs.
void TTFileShredder::UpdateGroup(const TShredGroup& group) {
    const bool running = EngineOf(group).Running();
    const bool rows = group.List->Count() > 0;
    group.Add->SetEnabled(!running);
    group.Remove->SetEnabled(!running && group.List->Selected());
    group.Start->SetEnabled(!running && rows);
    group.Stop->SetEnabled(rows);
}

void TTFileShredder::btnAddFilesClick(TObject*) {
    TWipeEngine& engine = Engine->Shredder->WipeFiles;
    if (engine.Running() || !OpenDialog->Execute()) return;
    std::string refused;
    lvFiles->BeginUpdate();
    for (const std::string& file : OpenDialog->Files()) {
        if (IsProtectedFile(file)) {
            refused += "\r\n" + file;
            continue;
        }
        auto item = std::make_unique<TWipeItem>();
        item->Kind = wkFile;
        item->Path = file;
        TWipeItem* added = item.get();
        if (engine.AddItem(std::move(item))) AddFileItem(added);
    }
    lvFiles->EndUpdate();
    UpdateButtons();
    if (!refused.empty())
        ShowError(
            Format("These files cannot be shredded: %s.\r\n%s", ProtectedFileText, refused.c_str()),
            BoxOwner(this));
}

void TTFileShredder::btnAddFolderClick(TObject*) {
    TWipeEngine& engine = Engine->Shredder->WipeFolders;
    if (engine.Running()) return;
    const std::string folder = BrowseForFolder("Select Folder", "");
    if (folder.empty()) return;
    if (IsProtectedFolder(folder)) {
        ShowError(Format("\"%s\" cannot be shredded: %s.", folder.c_str(), ProtectedFolderText),
                  BoxOwner(this));
        return;
    }
    auto item = std::make_unique<TWipeItem>();
    item->Kind = wkFolder;
    item->Path = folder;
    TWipeItem* added = item.get();
    if (engine.AddItem(std::move(item))) AddFolderItem(added);
    UpdateButtons();
}

void TTFileShredder::RemoveSelected(const TShredGroup& group) {
    TWipeEngine& engine = EngineOf(group);
    if (engine.Running()) return;
    for (int i = group.List->Count() - 1; i >= 0; --i) {
        TListItem* row = group.List->Items(i);
        if (!row->Selected()) continue;
        engine.DeleteItem(static_cast<TWipeItem*>(row->Data));
        group.List->Delete(i);
    }
    UpdateButtons();
}

// Only what was shredded leaves the list; what could not be (refused, not found, kept)
// stays and is counted in one message. The question counts what will be shredded.
void TTFileShredder::StartShred(const TShredGroup& group) {
    TWipeEngine& engine = EngineOf(group);
    const HWND owner = BoxOwner(this);
    if (engine.Running() || engine.Items().empty() || !MethodChosen(engine, owner)) return;
    const bool files = &engine == &Engine->Shredder->WipeFiles;
    const std::string what = files ? "file(s)" : "folder(s)";
    int shreddable = 0;
    for (const auto& item : engine.Items())
        shreddable += (files ? IsProtectedFile(item->Path) : IsProtectedFolder(item->Path)) ? 0 : 1;
    if (shreddable > 0 &&
        !AskBeforeDestroying("Shred the " + IntToStr(shreddable) + " listed " + what + "? " +
                                 (files ? "They" : "They and everything in them") +
                                 " will be overwritten and deleted, and cannot be restored.",
                             owner))
        return;
    for (TButton* button : {group.Add, group.Remove, group.Start})
        button->SetEnabled(false); // until the run has ended
    engine.Execute();
    std::vector<const TWipeItem*> gone;
    for (const auto& item : engine.Items())
        if (item->Shredded) gone.push_back(item.get());
    for (const TWipeItem* item : gone)
        engine.DeleteItem(item);
    LoadLists();
    ReportRun(engine, static_cast<int>(gone.size()), static_cast<int>(engine.Items().size()), what,
              "shredded", "could not be shredded", owner);
}
