#include "app/pages/StartupManagerFrame.h"
#include "app/MessageBoxes.h"
#include "app/pages/ListButtonsLayout.h"
#include "app/pages/ListPlace.h"
#include "engine/SharedRoutines.h"

namespace {

TStartUpItem* EntryOf(const TListItem& row) {
    return static_cast<TStartUpItem*>(row.Data);
}

// Names the entry by its state, its place and its name: entries of one name may be
// live and parked, or live in two places, at once.
std::string EntryKey(const TListItem& row) {
    const TStartUpItem& entry = *EntryOf(row);
    return std::string(entry.Enabled ? "enabled " : "disabled ") +
           TStartupManager::GetItemPlace(entry, entry.Enabled) + "\\" +
           (entry.Kind == TStartUpItem::skShortcut ? entry.FileName : entry.Name);
}

// A parked entry shows the place it returns to when enabled.
std::string LocationOf(const TStartUpItem& entry) {
    return TStartupManager::GetItemPlace(entry, true);
}

// Two small squares: grey for a disabled entry, green for an enabled one.
void AddStatusImages(TImageList& images) {
    TBitmap strip;
    strip.SetSize(32, 16);
    TCanvas& canvas = strip.Canvas();
    canvas.Brush().SetColor(clFuchsia);
    canvas.FillRect({0, 0, 32, 16});
    canvas.Brush().SetColor(clGray);
    canvas.FillRect({4, 4, 12, 12});
    canvas.Brush().SetColor(clGreen);
    canvas.FillRect({20, 4, 28, 12});
    images.AddMasked(strip, clFuchsia);
}

} // namespace

TTStartupManager::TTStartupManager(TComponent* owner) : TPageFrame(owner) {
    SetName("TTStartupManager1");
    StatusImageList = new TImageList(this);
    StatusImageList->SetName("StatusImageList");
    AddStatusImages(*StatusImageList);
    TListButtonsLayout layout(this);
    lvItems = layout.PlaceList();
    lvItems->SetSmallImages(StatusImageList);
    lvItems->AddColumn("Program Name", 130, TListView::ckName);
    lvItems->AddColumn("Status", 70);
    lvItems->AddColumn("Command Line", 220, TListView::ckPath);
    lvItems->AddColumn("Location", 160, TListView::ckPath);
    lvItems->OnSelectItem = [this](TObject*, TListItem*, bool) { UpdateButtons(); };
    btnEnable = layout.PlaceButton("btnEnable", "Enable",
                                   [this](TObject* sender) { btnEnableClick(sender); });
    btnDisable = layout.PlaceButton("btnDisable", "Disable",
                                    [this](TObject* sender) { btnDisableClick(sender); });
    btnDelete = layout.PlaceButton("btnDelete", "Delete",
                                   [this](TObject* sender) { btnDeleteClick(sender); });
    btnRefresh = layout.PlaceButton("btnRefresh", "Refresh", [this](TObject*) { LoadItems(); });
}

void TTStartupManager::LoadItems() {
    const TListPlace place(*lvItems, EntryKey); // before the entries are rebuilt
    lvItems->BeginUpdate();
    lvItems->Clear();
    Manager().Refresh();
    for (const auto& entry : Manager().Items) {
        TListItem* row = lvItems->AddItem();
        row->Data = entry.get();
        ShowItem(*row);
    }
    lvItems->EndUpdate();
    if (!place.Restore(*lvItems) && lvItems->Count() > 0) lvItems->Items(0)->SetSelected(true);
    if (TListItem* selected = lvItems->Selected()) selected->MakeFocused();
    UpdateButtons();
}

void TTStartupManager::ShowItem(TListItem& row) {
    const TStartUpItem& entry = *EntryOf(row);
    row.SetCaption(entry.Title);
    row.ClearSubItems();
    row.AddSubItem(entry.Enabled ? "Enabled" : "Disabled");
    row.SetImageIndex(entry.Enabled ? 1 : 0);
    row.AddSubItem(entry.Command);
    row.AddSubItem(LocationOf(entry));
}

void TTStartupManager::UpdateButtons() {
    const TListItem* selected = lvItems->Selected();
    btnEnable->SetEnabled(selected && !EntryOf(*selected)->Enabled);
    btnDisable->SetEnabled(selected && !btnEnable->Enabled());
    btnDelete->SetEnabled(selected != nullptr);
}

void TTStartupManager::SetSelectedEnabled(bool enabled) {
    TListItem* selected = lvItems->Selected();
    if (!selected) return;
    TStartUpItem& entry = *EntryOf(*selected);
    if (entry.Enabled == enabled) return;
    std::string existing;
    const bool replace = Manager().FindClash(entry, enabled, existing);
    if (replace && !ConfirmReplace(entry, enabled, existing)) return;
    try {
        Manager().SetEnabled(entry, enabled, replace);
    } catch (const Exception& e) {
        ShowError(e.Message());
        return;
    }
    if (replace) return LoadItems(); // the replaced entry's row is gone
    ShowItem(*selected);
    UpdateButtons();
}

bool TTStartupManager::ConfirmReplace(const TStartUpItem& entry, bool enabled,
                                      const std::string& existing) const {
    const std::string text = "\"" + entry.Title + "\" is already " +
                             (enabled ? "enabled" : "disabled") + " with the command\n" + existing +
                             "\n\nReplace it with this one?\n" + entry.Command;
    return AskYesNo(text, enabled ? "Enable Item" : "Disable Item");
}

void TTStartupManager::btnEnableClick(TObject*) {
    SetSelectedEnabled(true);
}

void TTStartupManager::btnDisableClick(TObject*) {
    SetSelectedEnabled(false);
}

void TTStartupManager::btnDeleteClick(TObject*) {
    TListItem* selected = lvItems->Selected();
    if (!selected) return;
    const TStartUpItem& entry = *EntryOf(*selected);
    if (!AskBeforeDestroying("Are you sure you want to delete selected item?\n\n" + entry.Title +
                                 " (" + (entry.Enabled ? "Enabled" : "Disabled") + ")\n" +
                                 TStartupManager::GetItemPlace(entry, entry.Enabled),
                             "Delete Item"))
        return;
    try {
        Manager().DeleteItem(entry);
        lvItems->Delete(selected->Index());
    } catch (const Exception& e) {
        ShowError(e.Message());
    }
    UpdateButtons();
}
