#include "app/EditIEAutoFindForm.h"
#include "classlib/gui/InputBox.h"
#include "classlib/gui/PlaceControl.h"

TfEditIEAutoFind* fEditIEAutoFind = nullptr;

TfEditIEAutoFind::TfEditIEAutoFind(TComponent* owner) : TForm(owner) {
    SetName("fEditIEAutoFind");
    SetCaption("Edit Auto Find");
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poMainFormCenter);
    SetLayoutClientSize(this, 360, 300);
    using namespace Layout;
    const TBounds list{10, 28, 250, 262};
    lblAutoFind =
        Place<TLabel>(this, this, "lblAutoFind", "Auto Find:", {list.Left, 10, 100, LabelHeight});
    lvAutoFind = Place<TListView>(this, this, "lvAutoFind", "", list);
    lvAutoFind->AddColumn("Item", 226);
    lvAutoFind->SetShowColumnHeaders(false);
    lvAutoFind->SetRowSelect(true);
    lvAutoFind->SetMultiSelect(true);
    lvAutoFind->OnSelectItem = [this](TObject*, TListItem*, bool) { UpdateButtons(); };
    lvAutoFind->OnDblClick = [this](TObject*) {
        if (lvAutoFind->Selected()) btnModifyClick();
    };
    // Beside the list: the editing buttons from its top, OK and Cancel ending at its bottom.
    constexpr int Gap = 6;
    TGrid column = Down(list.Right() + 10, list.Top, 80, ButtonHeight, Gap);
    int row = 0;
    auto button = [&](const char* name, const char* caption, std::function<void()> action) {
        TButton* b = Place<TButton>(this, this, name, caption, column.Cell(0, row++));
        b->OnClick = [action](TObject*) { action(); };
        return b;
    };
    btnAdd = button("btnAdd", "&Add", [this] { btnAddClick(); });
    btnModify = button("btnModify", "&Modify", [this] { btnModifyClick(); });
    btnDelete = button("btnDelete", "&Delete", [this] { btnDeleteClick(); });
    btnMoveUp = button("btnMoveUp", "Move &Up", [this] { MoveSelected(-1); });
    btnMoveDown = button("btnMoveDown", "Move &Down", [this] { MoveSelected(1); });
    column.Rows = TTrack::EndingAt(list.Bottom(), 2, ButtonHeight, Gap);
    row = 0;
    btnOK = button("btnOK", "&OK", [this] { btnOKClick(); });
    btnOK->SetDefault(true);
    btnCancel = button("btnCancel", "&Cancel", [] {});
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(mrCancel);
    OnShow = [this](TObject*) { FillList(); };
}

void TfEditIEAutoFind::FillList() {
    lvAutoFind->Clear();
    if (AutoFindList)
        for (int i = 0; i < AutoFindList->Count(); ++i)
            lvAutoFind->AddItem()->SetCaption((*AutoFindList)[i]);
    if (lvAutoFind->Count() > 0) lvAutoFind->Items(0)->SetSelected(true);
    UpdateButtons();
}

void TfEditIEAutoFind::UpdateButtons() {
    const TListItem* selected = lvAutoFind->Selected();
    const int index = selected ? selected->Index() : -1;
    btnModify->SetEnabled(selected != nullptr);
    btnDelete->SetEnabled(selected != nullptr);
    btnMoveUp->SetEnabled(index >= 1);
    btnMoveDown->SetEnabled(selected && index < lvAutoFind->Count() - 1);
}

void TfEditIEAutoFind::SelectOnly(TListItem* row) {
    for (int i = 0; i < lvAutoFind->Count(); ++i)
        lvAutoFind->Items(i)->SetSelected(lvAutoFind->Items(i) == row);
    row->MakeFocused();
    lvAutoFind->SetFocus();
    UpdateButtons();
}

void TfEditIEAutoFind::btnAddClick() {
    std::string text;
    if (!InputQuery("Add Item", "Value", text)) return;
    TListItem* row = lvAutoFind->AddItem();
    row->SetCaption(text);
    SelectOnly(row);
}

void TfEditIEAutoFind::btnModifyClick() {
    TListItem* selected = lvAutoFind->Selected();
    if (!selected) return;
    std::string text = selected->Caption();
    if (InputQuery("Edit Item", "Value", text)) selected->SetCaption(text);
}

void TfEditIEAutoFind::btnDeleteClick() {
    for (int i = lvAutoFind->Count() - 1; i >= 0; --i)
        if (lvAutoFind->Items(i)->Selected()) lvAutoFind->Delete(i);
    UpdateButtons();
}

// The texts change places; the selection follows the moved text.
void TfEditIEAutoFind::MoveSelected(int step) {
    TListItem* selected = lvAutoFind->Selected();
    if (!selected) return;
    const int other = selected->Index() + step;
    if (other < 0 || other >= lvAutoFind->Count()) return;
    TListItem* target = lvAutoFind->Items(other);
    const std::string text = target->Caption();
    target->SetCaption(selected->Caption());
    selected->SetCaption(text);
    selected->SetSelected(false);
    target->SetSelected(true);
    target->MakeFocused();
    lvAutoFind->SetFocus();
    UpdateButtons();
}

void TfEditIEAutoFind::btnOKClick() {
    if (AutoFindList) {
        AutoFindList->Clear();
        for (int i = 0; i < lvAutoFind->Count(); ++i)
            AutoFindList->Add(lvAutoFind->Items(i)->Caption());
    }
    SetModalResult(mrOk);
}
