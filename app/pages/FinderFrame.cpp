#include "app/pages/FinderFrame.h"
#include "app/MessageBoxes.h"
#include "app/finders/KeptCopy.h"
#include "app/pages/StoreRun.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"
#include <algorithm>
#include <shellapi.h>

namespace {

// Posted to the frame by the search thread when rows or the status are waiting.
constexpr UINT WM_FINDER_FOUND = WM_APP + 0x131;
const char* const Searching = "&Search";
const char* const Stopping = "&Stop";
const char* const Stopped = "Searching : Stopped"; // the status while no search runs
const char* const KeepColumn = "Del All";
// The window answers between batches of found rows at least this often.
constexpr DWORD AddingTime = 30;

const char* KeepText(bool kept) {
    return kept ? "keep" : "delete";
}

std::string NameOf(const TFinderNames& names, const char* role) {
    return std::string(names.Prefix) + role;
}

// The messages of the files that could not be removed or restored (done), as one
// error box; nothing when there are none.
void ReportFailures(const char* done, const std::vector<std::string>& failures) {
    if (failures.empty()) return;
    std::string text = Format("%d file(s) could not be %s:", int(failures.size()), done);
    for (size_t i = 0; i < failures.size() && i < 10; ++i)
        text += "\n" + failures[i];
    ShowError(text);
}

} // namespace

void StoreCheckedRows(TListView* list, const char* done, const std::function<void(int)>& step) {
    std::vector<std::string> failures;
    for (int i = list->Count() - 1; i >= 0; --i) {
        if (!list->Items(i)->Checked()) continue;
        try {
            step(i);
        } catch (const EStoreDamaged& e) {
            failures.push_back(e.what());
            break;
        } catch (const EStoreError& e) {
            failures.push_back(e.what());
        }
    }
    ReportFailures(done, failures);
}

TFinderFrame::TFinderFrame(TComponent* owner, const TFinderNames& names, int optionsHeight,
                           std::initializer_list<TColumn> columns)
    : TFrame(owner), FDescription(names.Description), FGroups(names.Groups),
      FAsksDelAll(names.AsksDelAll) {
    SetLayoutBounds(this, {0, 0, FrameWidth, FrameHeight});
    const int optionsTop = FrameHeight - 4 - optionsHeight, removerTop = optionsTop - 50;
    const int listHeight = removerTop - 8;
    FindFile = new TFileFinder(this);
    FindFile->SetName(NameOf(names, "_FindFile"));
    FindFile->Criteria.Files.FileName = "*.*";
    FindFile->Threaded = true;
    FindFile->OnFileMatch = [this](TObject*, const std::string& folder, const TFindData& data) {
        // The search thread: nothing may escape it. A file met after a stop is not
        // listed, nor a name without a UTF-8 form, which could not be reached again.
        if (!FHold->Proceed([this] { return FindFile->Aborted(); }) || !data.Exact) return;
        try {
            const TFoundFile file = FoundFile(folder, data);
            {
                std::lock_guard lock(FLock);
                FPendingStatus = file.Folder + file.Name;
            }
            FileFound(file);
        } catch (...) {
            LogSwallowed("a finder's found file"); // the search goes on with the next
        }
    };
    FindFile->OnSearchFinish = [this](TObject*) { SearchFinished(); };

    FilesList = Place<TListView>(this, this, NameOf(names, "Files_ListView").c_str(), "",
                                 {4, 4, OptionsWidth, listHeight});
    FilesList->SetCheckboxes(true);
    FilesList->SetRowSelect(true);
    FilesList->SetGridLines(true);
    FilesList->SetEditCaptions(true);
    for (const TColumn& column : columns)
        FilesList->AddColumn(column.Caption, column.Width, column.Kind);
    if (FGroups) FilesList->AddColumn(KeepColumn, 60);
    FilesList->OnEdited = [this](TObject*, TListItem* item, const std::string& text, bool& accept) {
        CaptionEdited(item, text, accept);
    };
    FilesList->OnDblClick = [this](TObject*) { ExpClick(); };
    BuildRemover(names, removerTop);
    BuildPopupMenu(names);
    OptionsGroup =
        Place<TGroupBox>(this, this, NameOf(names, "Options_GroupBox").c_str(),
                         names.OptionsCaption, {4, optionsTop, OptionsWidth, optionsHeight});
    StatusLabel = Place<TLabel>(this, OptionsGroup, NameOf(names, "Status_Label").c_str(), Stopped,
                                {Layout::Margin, 16, OptionsWidth - 16, Layout::LabelHeight});
    StatusLabel->SetAutoSize(false);
    StatusLabel->SetShowAccelChar(false); // paths may hold "&"
    StatusLabel->SetEllipsisPosition(epPathEllipsis);
}

void TFinderFrame::BuildRemover(const TFinderNames& names, int top) {
    RemoverGroup = Place<TGroupBox>(this, this, NameOf(names, "Remover_GroupBox").c_str(),
                                    names.RemoverCaption, {4, top, OptionsWidth, 46});
    int column = 0;
    auto button = [&](const char* role, const char* caption, void (TFinderFrame::*click)()) {
        TButton* b = Place<TButton>(this, RemoverGroup, NameOf(names, role).c_str(), caption,
                                    GroupButtons.Cell(column++, 0));
        b->OnClick = [this, click](TObject*) { (this->*click)(); };
        return b;
    };
    SearchButton = button("Search_Button", Searching, &TFinderFrame::SearchClick);
    DelButton = button("Del_Button", "&Delete", &TFinderFrame::DelClick);
    DelAllButton = button("DelAll_Button", "Del &All", &TFinderFrame::DelAllClick);
    RenButton = button("Ren_Button", "&Rename", &TFinderFrame::RenClick);
    ExpButton = button("Exp_Button", "&Explorer", &TFinderFrame::ExpClick);
}

void TFinderFrame::BuildPopupMenu(const TFinderNames& names) {
    PopupMenu = new TPopupMenu(this);
    PopupMenu->SetName(NameOf(names, "_PopupMenu"));
    auto item = [&](const char* name, const char* caption, void (TFinderFrame::*click)()) {
        auto menuItem = new TMenuItem(this);
        menuItem->SetName(NameOf(names, name));
        menuItem->SetCaption(caption);
        menuItem->OnClick = [this, click](TObject*) { (this->*click)(); };
        PopupMenu->Items().Add(menuItem);
    };
    item("Rename1", "Rename", &TFinderFrame::RenClick);
    item("Explorer1", "Explorer", &TFinderFrame::ExpClick);
    item("Delete1", "Delete", &TFinderFrame::DelClick);
    item("DeleteAll1", "Delete All", &TFinderFrame::DelAllClick);
    FilesList->PopupMenu = PopupMenu;
}

void TFinderFrame::SearchClick() {
    FindFile->Abort(); // waits for the search thread
    if (SearchButton->Caption() == Stopping) return EndSearch();
    if (Folders->Items().Count() == 0) {
        if (AddFolder) AddFolder();
        return;
    }
    std::vector<std::string> folders;
    for (int i = 0; i < Folders->Items().Count(); ++i)
        folders.push_back(Folders->Items()[i]);
    const std::vector<std::string> folded = FoldFolders(folders);
    FQueue.assign(folded.begin(), folded.end());
    SearchButton->SetCaption(Stopping);
    FilesList->Clear();
    FRows.clear();
    FKept.clear();
    FWaitingRows.clear();
    {
        std::lock_guard lock(FLock);
        FPending.clear();
        FPendingStatus.clear();
        FNotified = false;
    }
    FNotifyWnd = Handle();
    FHold.emplace();
    StartSearch();
    StartFolder();
}

void TFinderFrame::StartFolder() {
    FindFile->Criteria.Files.Location = FQueue.front();
    FindFile->Execute();
}

// Main thread, after the search has cleared its busy state. A stopped search is ended
// by the click that stopped it; after the last folder the rows still waiting go in
// batches, and the search ends with the last of them.
void TFinderFrame::SearchFinished() {
    if (FindFile->Aborted()) return;
    if (FQueue.size() == 1) return AddRowsInTurn();
    FQueue.pop_front();
    StartFolder();
}

// The rows of a search that ends are all in when it does; the caption goes back to
// "&Search".
void TFinderFrame::EndSearch() {
    AddFoundRows(true);
    FilesList->SortByCaption(); // a row renamed meanwhile may stand out of order
    FQueue.clear();
    SearchButton->SetCaption(Searching);
    StatusLabel->SetCaption(Stopped);
}

void TFinderFrame::Report(TFoundRow row) {
    bool notify = false;
    {
        std::lock_guard lock(FLock);
        FPending.push_back(std::move(row));
        notify = !FNotified;
        FNotified = true;
    }
    if (notify) PostMessageW(FNotifyWnd, WM_FINDER_FOUND, 0, 0);
}

void TFinderFrame::WndProc(TMessage& message) {
    if (message.Msg == WM_FINDER_FOUND) return AddRowsInTurn();
    TFrame::WndProc(message);
}

// Rows handed over are added for at most AddingTime per message; the rest follow in
// the next. A search whose last folder is walked ends with its last row.
void TFinderFrame::AddRowsInTurn() {
    AddFoundRows(false);
    if (!FWaitingRows.empty())
        PostMessageW(Handle(), WM_FINDER_FOUND, 0, 0);
    else if (!FQueue.empty() && !FindFile->Busy())
        EndSearch();
}

// Each row goes in at its place by caption, so the list stays sorted as it grows.
void TFinderFrame::AddFoundRows(bool all) {
    std::string status;
    {
        std::lock_guard lock(FLock);
        std::move(FPending.begin(), FPending.end(), std::back_inserter(FWaitingRows));
        FPending.clear();
        status.swap(FPendingStatus);
        FNotified = false;
    }
    if (!status.empty()) StatusLabel->SetCaption(status);
    if (!FWaitingRows.empty()) {
        const DWORD start = GetTickCount();
        FilesList->BeginUpdate();
        while (!FWaitingRows.empty() && (all || GetTickCount() - start < AddingTime)) {
            AddRow(std::move(FWaitingRows.front()));
            FWaitingRows.pop_front();
        }
        FilesList->EndUpdate();
    }
}

void TFinderFrame::AddRow(TFoundRow row) {
    int before = 0, after = FilesList->Count(); // after the rows of an equal caption
    while (before < after) {
        const int middle = (before + after) / 2;
        if (CompareText(row.Caption, FilesList->Items(middle)->Caption()) < 0)
            after = middle;
        else
            before = middle + 1;
    }
    TListItem* item = FilesList->InsertItem(before);
    item->SetCaption(row.Caption);
    for (const std::string& text : row.SubItems)
        item->AddSubItem(text);
    if (FGroups) item->AddSubItem(KeepText(false));
    const int group = row.Group;
    const bool first = row.Keep;
    FRows.emplace(item, std::move(row));
    if (group < 0) return;
    // Until the first copy's row comes, the group's other row stands for it.
    auto kept = FKept.find(group);
    if (kept == FKept.end())
        SetKept(item, true);
    else if (first) {
        SetKept(kept->second, false);
        SetKept(item, true);
    }
}

void TFinderFrame::SetKept(TListItem* item, bool kept) {
    TFoundRow& row = FRows.at(item);
    row.Keep = kept;
    if (kept) FKept[row.Group] = item;
    item->SetSubItem(item->SubItems().size() - 1, KeepText(kept));
}

// A kept row that goes hands its part to the next row of its group.
void TFinderFrame::RemoveRow(int index) {
    TListItem* item = FilesList->Items(index);
    const auto [group, kept] = std::pair(FRows.at(item).Group, FRows.at(item).Keep);
    FRows.erase(item);
    FilesList->Delete(index);
    if (!kept) return;
    FKept.erase(group);
    for (int i = 0; i < FilesList->Count(); ++i)
        if (FRows.at(FilesList->Items(i)).Group == group) return SetKept(FilesList->Items(i), true);
}

// Checked rows go into the store in one batch; a file that stays where it was keeps
// its row.
void TFinderFrame::DelClick() {
    std::vector<int> rows;
    std::vector<std::string> files;
    for (int i = FilesList->Count() - 1; i >= 0; --i) // the last first, as numbered before
        if (FilesList->Items(i)->Checked()) {
            rows.push_back(i);
            files.push_back(FRows.at(FilesList->Items(i)).Path);
        }
    if (files.empty()) return;
    TStoreBatch batch;
    try {
        batch = StoreWithProgress(*Store, files, FDescription, this);
    } catch (const EStoreError& e) {
        batch.Failures.push_back(e.what());
    }
    for (const size_t stored : batch.Stored) // rows from the last up
        RemoveRow(rows[stored]);
    ReportFailures("removed", batch.Failures);
}

// Every row but the one each group keeps; its file is deleted for good, a copy only
// while its bytes equal those of its group's kept file. Only the rows counted for the
// question go, whatever a running search adds meanwhile.
void TFinderFrame::DelAllClick() {
    std::vector<TListItem*> named; // the last row first
    for (int i = FilesList->Count() - 1; i >= 0; --i)
        if (!FRows.at(FilesList->Items(i)).Keep) named.push_back(FilesList->Items(i));
    if (named.empty() || !ConfirmDelAll(int(named.size()))) return;
    std::vector<TDeletion> files;
    for (const TListItem* item : named) {
        const TFoundRow& row = FRows.at(item);
        files.push_back(
            {row.Path, row.Group < 0 ? "" : FRows.at(FKept.at(row.Group)).Path, false, {}});
    }
    {
        TProgressRun run(this, "Deleting files", files.size());
        DeleteForGood(files, [&](size_t done) {
            return run.Step(done, files[std::min(done, files.size() - 1)].Path);
        });
    }
    std::vector<std::string> failures;
    std::vector<TListItem*> deleted;
    for (size_t i = 0; i < files.size(); ++i) {
        if (files[i].Deleted) deleted.push_back(named[i]);
        if (!files[i].Failure.empty())
            failures.push_back(Format("%s: %s", files[i].Path.c_str(), files[i].Failure.c_str()));
    }
    FilesList->BeginUpdate();
    for (const TListItem* item : deleted)
        RemoveRow(item->Index());
    FilesList->EndUpdate();
    ReportFailures("deleted", failures);
}

bool TFinderFrame::ConfirmDelAll(int count) const {
    if (!FAsksDelAll) return true;
    const std::string question =
        FGroups ? Format("Delete %d listed copies for good? Each group keeps the file marked "
                         "\"keep\".",
                         count)
                : Format("Delete all %d listed files for good?", count);
    return AskBeforeDestroying(question, Application->Title());
}

void TFinderFrame::RenClick() {
    if (TListItem* item = FilesList->Selected()) FilesList->EditCaption(item);
}

std::string TFinderFrame::RenamedPath(const std::string& path, const std::string& caption) const {
    return ExtractFilePath(path) + Trim(caption);
}

// The file is renamed on disk, or the edit is refused; the row keeps the real path. A
// name that would leave the file where programs cannot open or delete it is refused,
// as one that already exists is.
void TFinderFrame::CaptionEdited(TListItem* item, const std::string& text, bool& accept) {
    TFoundRow& row = FRows.at(item);
    const std::string target = RenamedPath(row.Path, text), folder = ExtractFilePath(row.Path);
    const std::string problem = target.rfind(folder, 0) == 0
                                    ? NewFileNameProblem(target.substr(folder.size()))
                                    : "it names another folder";
    accept = false;
    if (target == row.Path) return;
    if (!problem.empty())
        return ShowError(Format("\"%s\" cannot be the file's new name: %s.", Trim(text).c_str(),
                                problem.c_str()));
    const TSafeFileResult renamed = SafeMoveFile(row.Path, target);
    if (!renamed.Done())
        return ShowError(
            Format("\"%s\" could not be renamed: %s", row.Path.c_str(), renamed.Text().c_str()));
    row.Path = target;
    accept = true;
}

const std::string* TFinderFrame::SelectedPath() const {
    TListItem* item = FilesList->Selected();
    return item ? &FRows.at(item).Path : nullptr;
}

void TFinderFrame::ExpClick() {
    const std::string* path = SelectedPath();
    if (!path) return;
    ShellExecuteW(Handle(), L"Open", ToWide(ExtractFilePath(*path)).c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}
