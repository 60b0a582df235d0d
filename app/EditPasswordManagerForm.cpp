#include "app/EditPasswordManagerForm.h"
#include "classlib/gui/PlaceControl.h"

TfEditPasswordManager* fEditPasswordManager = nullptr;

TfEditPasswordManager::TfEditPasswordManager(TComponent* owner) : TForm(owner) {
    SetName("fEditPasswordManager");
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poMainFormCenter);
    SetLayoutClientSize(this, 340, 170);
    using namespace Layout;
    // A label before each edit.
    const TGrid edits = Down(96, 12, 232, EditHeight, 9);
    int line = 0;
    auto row = [&](TLabel*& label, const char* labelName, const char* caption,
                   const char* editName) {
        const TBounds bounds = edits.Cell(0, line++);
        label = Place<TLabel>(this, this, labelName, caption,
                              {12, bounds.Top + LabelDrop, 80, LabelHeight});
        return Place<TEdit>(this, this, editName, "", bounds);
    };
    edTitle = row(lblTitle, "lblTitle", "Title:", "edTitle");
    edUserName = row(lblUserName, "lblUserName", "User Name:", "edUserName");
    edPassword = row(lblPassword, "lblPassword", "Password:", "edPassword");
    edURL = row(lblURL, "lblURL", "URL:", "edURL");
    const TBounds last = edits.Cell(0, line - 1);
    const TGrid buttons = ButtonsEndingAt(last.Right(), last.Bottom() + 11, 2, ButtonWidth);
    cmdOK = Place<TButton>(this, this, "cmdOK", "&OK", buttons.Cell(0, 0));
    cmdOK->SetDefault(true);
    cmdOK->SetModalResult(mrOk);
    cmdCancel = Place<TButton>(this, this, "cmdCancel", "&Cancel", buttons.Cell(1, 0));
    cmdCancel->SetCancel(true);
    cmdCancel->SetModalResult(mrCancel);
    OnShow = [this](TObject*) { edTitle->SetFocus(); };
}
