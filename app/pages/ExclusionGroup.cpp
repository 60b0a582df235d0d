#include "app/pages/ExclusionGroup.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/InputBox.h"
#include "classlib/gui/PlaceControl.h"

namespace {

struct TQuestion {
    const char* Title;
    const char* Prompt;
};

TQuestion QuestionOf(TExclusionKind kind) {
    switch (kind) {
    case ekExtension: return {"Exclude Extensions", "Enter Extension (eg: EXE):"};
    case ekFile: return {"Exclude Files", "Enter FileName:"};
    case ekFolder: return {"Exclude Folders", "Enter FolderName:"};
    case ekIncludeExtension: break;
    }
    return {"Include Extensions", "Enter Extension (eg: EXE):"};
}

} // namespace

TExclusionGroup::TExclusionGroup(TComponent* owner, TWinControl* parent, const char* caption,
                                 const std::string& listName, TExclusionKind kind,
                                 const TBounds& bounds)
    : TGroupBox(owner), FKind(kind) {
    const std::string stem = listName.substr(0, listName.find('_'));
    SetName(stem + "_GroupBox");
    SetParent(parent);
    SetCaption(caption);
    SetLayoutBounds(this, bounds);
    // The buttons stand beside the list, so a low group still shows a few entries.
    constexpr int ButtonWidth = 48;
    const int buttonLeft = bounds.Width - Layout::Margin - ButtonWidth;
    List = kind == ekIncludeExtension ? new TCheckListBox(owner) : new TListBox(owner);
    List->SetName(listName);
    List->SetParent(this);
    SetLayoutBounds(List, {Layout::Margin, 16, buttonLeft - 12, bounds.Height - 22});
    List->SetMultiSelect(true);
    const TGrid buttons = Down(buttonLeft, 16, ButtonWidth, 24, 4);
    AddButton =
        Place<TButton>(owner, this, (stem + "Add_Button").c_str(), "Add", buttons.Cell(0, 0));
    DelButton =
        Place<TButton>(owner, this, (stem + "Del_Button").c_str(), "Del", buttons.Cell(0, 1));
    AddButton->OnClick = [this](TObject*) { AddClick(); };
    DelButton->OnClick = [this](TObject*) { DelClick(); };
}

void TExclusionGroup::AddClick() {
    const TQuestion question = QuestionOf(FKind);
    std::string text;
    if (!InputQuery(question.Title, question.Prompt, text)) return;
    text = LowerCase(Trim(text));
    const bool extension = FKind == ekExtension || FKind == ekIncludeExtension;
    // "exe", ".exe" and "*.exe" all mean ".exe".
    if (extension) text.erase(0, text.find_first_not_of("*."));
    if (text.empty()) return;
    if (extension) text = "." + text;
    if (FKind == ekFolder) text = IncludeTrailingPathDelimiter(text);
    const int index = List->Items().Add(text);
    if (FKind == ekIncludeExtension) static_cast<TCheckListBox*>(List)->SetChecked(index, true);
    if (List->HandleAllocated()) // scrolled into sight
        SendMessageW(List->Handle(), LB_SETCARETINDEX, index, FALSE);
}

void TExclusionGroup::DelClick() {
    for (int i = List->Items().Count() - 1; i >= 0; --i)
        if (List->Selected(i)) List->Items().Delete(i);
}

std::vector<std::string> TExclusionGroup::Entries() const {
    std::vector<std::string> entries;
    for (int i = 0; i < List->Items().Count(); ++i)
        if (FKind != ekIncludeExtension || static_cast<TCheckListBox*>(List)->Checked(i))
            entries.push_back(List->Items()[i]);
    return entries;
}
