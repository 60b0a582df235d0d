#pragma once
// What the duplicate, junk and DLL finders share: the search over the folders of the
// "Search In:" list, one folder after another on the file finder's search thread; the
// result list, whose rows keep their files' real paths; its commands (move into the
// store, delete for good, rename on disk, open the folder); and the status label.
// Main thread, except FileFound and Report, which run on the search thread.
#include "app/finders/FoundFile.h"
#include "app/finders/RemovedFileStore.h"
#include "app/finders/RunHold.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Frame.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/Layout.h"
#include "classlib/gui/ListBox.h"
#include "classlib/gui/ListView.h"
#include "classlib/gui/Menus.h"
#include "components/FileFinder/FileFinder.h"
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <unordered_map>

// The names and captions that differ from finder to finder.
struct TFinderNames {
    const char* Prefix;         // "Dup": "DupSearch_Button", "Dup_FindFile", ...
    const char* RemoverCaption; // "Duplicate Remover"
    const char* OptionsCaption; // "Search Options"
    const char* Description;    // the store's description of a removed file
    bool Groups = false;        // rows come in groups of copies: see TFoundRow
    bool AsksDelAll = false;    // "Del &All" asks once before it deletes
};

// A row to add, handed over from the search thread. Of each group of copies, "Del
// &All" keeps one row, shown in a last column: the first copy found, or, when its row
// goes, the next row of its group in the list.
struct TFoundRow {
    std::string Path; // the file's real path: what every command acts on
    std::string Caption;
    std::vector<std::string> SubItems;
    int Group = -1;    // -1 outside any group
    bool Keep = false; // the first copy found
};

class TFinderFrame : public TFrame {
public:
    // The client area of a sheet of the "Junk Cleaner" page's tabs.
    static constexpr int FrameWidth = 608, FrameHeight = 447;
    // The buttons in a row along a group at the frame's foot.
    static constexpr TGrid GroupButtons = Across(8, 16, 110, Layout::ButtonHeight, 8);

    // Set by the page that holds the finders, before any search.
    TListBox* Folders = nullptr;     // the shared "Search In:" list
    std::function<void()> AddFolder; // its "Add &Folder " command
    TRemovedFileStore* Store = nullptr;
    std::string StoreFolder; // the program's "Backup\" folder

    TFileFinder* FindFile;
    TListView* FilesList;
    TGroupBox *RemoverGroup, *OptionsGroup;
    TButton *SearchButton, *DelButton, *DelAllButton, *RenButton, *ExpButton;
    TLabel* StatusLabel;
    TPopupMenu* PopupMenu;

    void SearchClick();
    void DelClick();
    void DelAllClick();
    void RenClick();
    void ExpClick();

protected:
    struct TColumn {
        const char* Caption;
        int Width;
        TListView::TColumnKind Kind = TListView::ckText;
    };
    // The options group takes optionsHeight; the list what the remover group leaves.
    TFinderFrame(TComponent* owner, const TFinderNames& names, int optionsHeight,
                 std::initializer_list<TColumn> columns);
    // Where the options group's controls go: boxes from 8, 34; the rest below.
    static constexpr int OptionsWidth = FrameWidth - 8, BoxTop = 34, BoxHeight = 17;

    // Main thread, before a search starts: take the options and lists, forget the
    // files seen before.
    virtual void StartSearch() = 0;
    // Search thread: one file the search found.
    virtual void FileFound(const TFoundFile& file) = 0;
    // The path the edited caption names, or "" when it names none in the row's folder.
    [[nodiscard]] virtual std::string RenamedPath(const std::string& path,
                                                  const std::string& caption) const;
    void Report(TFoundRow row); // search thread
    void WndProc(TMessage& message) override;

private:
    void BuildRemover(const TFinderNames& names, int top);
    void BuildPopupMenu(const TFinderNames& names);
    void StartFolder();
    void SearchFinished();
    void EndSearch();
    void AddRowsInTurn();
    void AddFoundRows(bool all);
    void AddRow(TFoundRow row);
    void CaptionEdited(TListItem* item, const std::string& text, bool& accept);
    void RemoveRow(int index);
    void SetKept(TListItem* item, bool kept);
    [[nodiscard]] const std::string* SelectedPath() const;
    // Asked before "Del &All" deletes count files; false cancels.
    [[nodiscard]] bool ConfirmDelAll(int count) const;

    std::string FDescription;
    // The first is the folder being searched; empty once the search has ended.
    std::deque<std::string> FQueue;
    std::optional<TRunHold> FHold; // of the running search, made at its start
    std::unordered_map<const TListItem*, TFoundRow> FRows;
    std::deque<TFoundRow> FWaitingRows;        // handed over, not added yet
    std::unordered_map<int, TListItem*> FKept; // group: its row that "Del &All" keeps
    bool FGroups;
    bool FAsksDelAll;
    HWND FNotifyWnd = nullptr;
    std::mutex FLock; // guards the three below
    std::vector<TFoundRow> FPending;
    std::string FPendingStatus;
    bool FNotified = false;
};

// Runs the store step on every checked row of the list, the last first (the step may
// remove its row), then shows the files that could not be `done` in one error box. A
// damaged store stops the rest.
void StoreCheckedRows(TListView* list, const char* done, const std::function<void(int)>& step);
