#include "app/pages/PasswordManagerFrame.h"
#include "app/EditPasswordManagerForm.h"
#include "app/MessageBoxes.h"
#include "app/pages/ListButtonsLayout.h"
#include "app/pages/ListPlace.h"
#include <algorithm>

namespace {

TPasswordItem* EntryOf(const TListItem& row) {
    return static_cast<TPasswordItem*>(row.Data);
}

// The dialog with the caption and the texts given; true on OK.
bool EditInDialog(const char* caption, TPasswordItem& entry) {
    TfEditPasswordManager& dialog = *fEditPasswordManager;
    dialog.SetCaption(caption);
    dialog.edTitle->SetText(entry.Title);
    dialog.edUserName->SetText(entry.UserName);
    dialog.edPassword->SetText(entry.Password);
    dialog.edURL->SetText(entry.URL);
    if (dialog.ShowModal() != mrOk) return false;
    entry.Title = dialog.edTitle->Text();
    entry.UserName = dialog.edUserName->Text();
    entry.Password = dialog.edPassword->Text();
    entry.URL = dialog.edURL->Text();
    return true;
}

} // namespace

TfraPasswordManager::TfraPasswordManager(TComponent* owner) : TPageFrame(owner) {
    SetName("TfraPasswordManager1");
    TListButtonsLayout layout(this);
    lvItems = layout.PlaceList();
    lvItems->AddColumn("Title", 140);
    lvItems->AddColumn("User Name", 120);
    lvItems->AddColumn("Password", 120);
    lvItems->AddColumn("URL", 200);
    lvItems->OnSelectItem = [this](TObject*, TListItem*, bool) { UpdateButtons(); };
    lvItems->OnDblClick = [this](TObject* sender) {
        if (lvItems->Selected()) btnEditClick(sender);
    };
    btnAdd = layout.PlaceButton("btnAdd", "Add", [this](TObject* sender) { btnAddClick(sender); });
    btnEdit =
        layout.PlaceButton("btnEdit", "Edit", [this](TObject* sender) { btnEditClick(sender); });
    btnDelete = layout.PlaceButton("btnDelete", "Delete",
                                   [this](TObject* sender) { btnDeleteClick(sender); });
}

void TfraPasswordManager::LoadItems() {
    const TListPlace place(*lvItems, [](const TListItem& row) {
        return std::to_string(reinterpret_cast<uintptr_t>(row.Data));
    });
    lvItems->BeginUpdate();
    lvItems->Clear();
    for (const auto& entry : Engine->Misc->Passwords) {
        TListItem* row = lvItems->AddItem();
        row->Data = entry.get();
        ShowItem(*row);
    }
    lvItems->EndUpdate();
    place.Restore(*lvItems);
    UpdateButtons();
}

void TfraPasswordManager::ShowItem(TListItem& row) {
    const TPasswordItem& entry = *EntryOf(row);
    row.SetCaption(entry.Title);
    row.ClearSubItems();
    row.AddSubItem(entry.UserName);
    row.AddSubItem(entry.Password);
    row.AddSubItem(entry.URL);
}

void TfraPasswordManager::UpdateButtons() {
    const bool selected = lvItems->Selected() != nullptr;
    btnEdit->SetEnabled(selected);
    btnDelete->SetEnabled(selected);
}

void TfraPasswordManager::btnAddClick(TObject*) {
    auto entry = std::make_unique<TPasswordItem>();
    if (!EditInDialog("Add Password", *entry)) return;
    TListItem* row = lvItems->AddItem();
    row->Data = entry.get();
    Engine->Misc->Passwords.push_back(std::move(entry));
    ShowItem(*row);
    UpdateButtons();
    PasswordsChanged();
}

void TfraPasswordManager::btnEditClick(TObject*) {
    TListItem* selected = lvItems->Selected();
    if (!selected) return;
    TPasswordItem edited = *EntryOf(*selected);
    if (!EditInDialog("Edit Password", edited)) return;
    *EntryOf(*selected) = edited;
    ShowItem(*selected);
    UpdateButtons();
    PasswordsChanged();
}

void TfraPasswordManager::btnDeleteClick(TObject*) {
    TListItem* selected = lvItems->Selected();
    if (!selected) return;
    if (!AskBeforeDestroying("Are you sure you want to deleted selected password?",
                             "Delete Password"))
        return;
    auto& passwords = Engine->Misc->Passwords;
    const TPasswordItem* entry = EntryOf(*selected);
    passwords.erase(std::find_if(passwords.begin(), passwords.end(),
                                 [entry](const auto& p) { return p.get() == entry; }));
    lvItems->Delete(selected->Index());
    UpdateButtons();
    PasswordsChanged();
}

void TfraPasswordManager::PasswordsChanged() const {
    if (Engine->Misc->OnPasswordsChanged) Engine->Misc->OnPasswordsChanged();
}
