#include "app/pages/RestorationFrame.h"
#include "app/MessageBoxes.h"
#include "app/pages/FinderFrame.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"
#include <shellapi.h>

TTRestoration::TTRestoration(TComponent* owner) : TFrame(owner) {
    SetName("TTRestoration1");
    SetLayoutBounds(this, {0, 0, TFinderFrame::FrameWidth, TFinderFrame::FrameHeight});
    constexpr int width = TFinderFrame::FrameWidth - 8, groupTop = TFinderFrame::FrameHeight - 52;
    Restore_ListView =
        Place<TListView>(this, this, "Restore_ListView", "", {4, 4, width, groupTop - 8});
    Restore_ListView->SetCheckboxes(true);
    Restore_ListView->SetRowSelect(true);
    Restore_ListView->AddColumn("Deleted ID", 70);
    Restore_ListView->AddColumn("Delete Type", 100);
    Restore_ListView->AddColumn("Deleted Time", 130);
    Restore_ListView->AddColumn("Original FileName", 280, TListView::ckPath);
    Restore_ListView->OnDblClick = [this](TObject* sender) { Restore_ListViewDblClick(sender); };
    Restoration_GroupBox = Place<TGroupBox>(this, this, "Restoration_GroupBox", "Restoration",
                                            {4, groupTop, width, 48});
    auto button = [&](const char* name, const char* caption, int column) {
        return Place<TButton>(this, Restoration_GroupBox, name, caption,
                              TFinderFrame::GroupButtons.Cell(column, 0));
    };
    Restore_Button = button("Restore_Button", "&Restore", 0);
    Refresh_Button = button("Refresh_Button", "Re&fresh", 1);
    RestoreClear_Button = button("RestoreClear_Button", "&Clear", 2);
    Restore_Button->OnClick = [this](TObject* sender) { Restore_ButtonClick(sender); };
    Refresh_Button->OnClick = [this](TObject* sender) { Refresh_ButtonClick(sender); };
    RestoreClear_Button->OnClick = [this](TObject* sender) { RestoreClear_ButtonClick(sender); };
}

void TTRestoration::Refresh_ButtonClick(TObject*) {
    if (!Store) return;
    Restore_ListView->Clear();
    FRecords.clear();
    std::vector<TStoredFile> records;
    try {
        records = Store->Records();
    } catch (const EStoreDamaged& e) {
        ShowError(e.what()); // set aside: the new list holds what could be read
        try {
            records = Store->Records();
        } catch (const EStoreError&) {
            return; // what stops it was said
        }
    } catch (const EStoreError& e) {
        return ShowError(e.what());
    }
    Restore_ListView->BeginUpdate();
    for (const TStoredFile& record : records) {
        TListItem* item = Restore_ListView->AddItem();
        item->SetCaption(IntToStr(record.Number));
        item->AddSubItem(record.Description);
        item->AddSubItem(record.Time);
        item->AddSubItem(record.OriginalPath);
        FRecords.emplace(item, record);
    }
    Restore_ListView->SortByCaption();
    Restore_ListView->EndUpdate();
}

// A file that cannot go back keeps its record and its row; a record that is gone
// loses its row too.
void TTRestoration::Restore_ButtonClick(TObject*) {
    StoreCheckedRows(Restore_ListView, "restored", [this](int i) {
        TListItem* item = Restore_ListView->Items(i);
        const auto forget = [&] {
            FRecords.erase(item);
            Restore_ListView->Delete(i);
        };
        try {
            Store->Restore(FRecords.at(item).Number);
        } catch (const EStoreRecordGone&) {
            forget();
            throw;
        }
        forget();
    });
}

void TTRestoration::RestoreClear_ButtonClick(TObject*) {
    Restore_ListView->Clear();
    FRecords.clear();
    try {
        Store->Clear();
    } catch (const Exception& e) {
        ShowError(e.what());
    }
}

void TTRestoration::Restore_ListViewDblClick(TObject*) {
    TListItem* item = Restore_ListView->Selected();
    if (!item) return;
    const std::string stored = Store->StoredPath(FRecords.at(item));
    ShellExecuteW(Handle(), L"open", ToWide(stored).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
