#include "app/KeepForm.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/CustomEraserEngine.h"
#include <initializer_list>
#include <utility>

TKeepForm::TKeepForm(TComponent* owner, const char* listName, const char* firstColumn,
                     const char* prompt)
    : TForm(owner) {
    SetBorderStyle(bsDialog);
    SetPosition(poDesktopCenter);
    SetLayoutClientSize(this, 420, 360);
    using namespace Layout;
    // The filter row above the list, the buttons below it, all within the list's width.
    constexpr int Edge = 10, KeepButtonWidth = 88;
    const TBounds list{Edge, 60, 400, 250}, filter{72, 10, 240, EditHeight};
    const int buttonsTop = list.Bottom() + 12;
    const TGrid leftButtons = Across(Edge, buttonsTop, KeepButtonWidth, ButtonHeight, ButtonGap);
    const TGrid rightButtons = ButtonsEndingAt(list.Right(), buttonsTop, 2, KeepButtonWidth);
    lblFilterBy = Place<TLabel>(this, this, "lblFilterBy",
                                "Filter By:", {Edge, filter.Top + LabelDrop, 60, LabelHeight});
    edFilter = Place<TEdit>(this, this, "edFilter", "", filter);
    btnFilter = Place<TButton>(
        this, this, "btnFilter", "Filter",
        {list.Right() - KeepButtonWidth, filter.Top - 2, KeepButtonWidth, ButtonHeight});
    btnFilter->OnClick = [this](TObject*) { FillList(); };
    Label1 = Place<TLabel>(this, this, "Label1", prompt, {Edge, 42, 300, LabelHeight});
    List = Place<TListView>(this, this, listName, "", list);
    List->SetCheckboxes(true);
    List->SetRowSelect(true);
    List->AddColumn(firstColumn, 200);
    List->AddColumn("Status", 120);
    List->OnChange = [this](TObject*, TListItem* row) { ListChange(row); };
    btnSelectAll =
        Place<TButton>(this, this, "btnSelectAll", "&Select All", leftButtons.Cell(0, 0));
    btnSelectAll->OnClick = [this](TObject*) { CheckAll(true); };
    btnDeselectAll =
        Place<TButton>(this, this, "btnDeselectAll", "&Deselect All", leftButtons.Cell(1, 0));
    btnDeselectAll->OnClick = [this](TObject*) { CheckAll(false); };
    btnOK = Place<TButton>(this, this, "btnOK", "&OK", rightButtons.Cell(0, 0));
    btnOK->SetDefault(true);
    btnOK->OnClick = [this](TObject*) { btnOKClick(); };
    btnCnacel = Place<TButton>(this, this, "btnCnacel", "&Cancel", rightButtons.Cell(1, 0));
    btnCnacel->SetCancel(true);
    btnCnacel->SetModalResult(mrCancel);
    // Not on every activation: another program's window taking the focus and giving it
    // back would drop the ticks not yet confirmed.
    OnShow = [this](TObject*) {
        if (FRunning) return;
        KeepList.Clear();
        for (const std::string& key : ExclusionList())
            KeepList.Add(key);
        FillList();
    };
}

void TKeepForm::FillList() {
    List->BeginUpdate();
    try {
        List->Clear();
        Collect();
        AddRows();
    } catch (...) {
        List->EndUpdate();
        throw;
    }
    List->EndUpdate();
}

void TKeepForm::RunningChanged(bool running) {
    FRunning = running;
    for (TControl* control : std::initializer_list<TControl*>{edFilter, btnFilter, List,
                                                              btnSelectAll, btnDeselectAll, btnOK})
        control->SetEnabled(!running);
    if (!running && Visible()) FillList();
}

// The collection must find the kept entries too, so the eraser's exclusion list is
// emptied for it; it is put back whatever the collect does. Meanwhile no message gets
// through (no run may start on the emptied list), and a stopped run does not cut the
// collection short.
void TKeepForm::Collect() {
    TEraser* eraser = EditedEraser();
    eraser->Items.clear();
    std::vector<std::string> saved = ExclusionList();
    ExclusionList().clear();
    TCustomEraserEngine* engine = eraser->Engine;
    std::function<void()> pump;
    bool cancelled = false;
    if (engine) {
        pump = std::exchange(engine->OnProcessMessages, nullptr);
        cancelled = std::exchange(engine->Cancelled, false);
    }
    auto restore = [&] {
        ExclusionList() = saved;
        if (!engine) return;
        engine->OnProcessMessages = pump;
        engine->Cancelled = cancelled;
    };
    try {
        if (eraser->OnCollect) eraser->OnCollect(eraser);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

// Rows are checked before they get their caption, so this acts once per row.
void TKeepForm::ListChange(TListItem* row) {
    if (row->Caption().empty()) return;
    std::string key = RowKey(*row);
    // Every copy: a settings file may name a key twice.
    int index;
    while ((index = KeepList.IndexOf(key)) >= 0)
        KeepList.Delete(index);
    row->ClearSubItems();
    if (row->Checked()) {
        row->AddSubItem("Keep");
        KeepList.Add(key);
    } else {
        row->AddSubItem("");
    }
    // One key, one state: a cookie name found in two folders is kept for both or for
    // neither, and each of its rows says which.
    for (int i = 0; i < List->Count(); ++i) {
        TListItem* other = List->Items(i);
        if (other != row && !other->Caption().empty() && other->Checked() != row->Checked() &&
            SameText(RowKey(*other), key))
            other->SetChecked(row->Checked());
    }
}

void TKeepForm::CheckAll(bool checked) {
    for (int i = 0; i < List->Count(); ++i)
        List->Items(i)->SetChecked(checked);
}

void TKeepForm::btnOKClick() {
    std::vector<std::string>& list = ExclusionList();
    list.clear();
    for (int i = 0; i < KeepList.Count(); ++i)
        list.push_back(KeepList[i]);
    SetModalResult(mrOk);
}
