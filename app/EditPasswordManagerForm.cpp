#include "app/EditPasswordManagerForm.h"
#include "classlib/gui/PlaceControl.h"

TfEditPasswordManager* fEditPasswordManager = nullptr;

TfEditPasswordManager::TfEditPasswordManager(TComponent* owner) : TForm(owner) {
    SetName("fEditPasswordManager");
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poMainFormCenter);
    SetClientWidth(340);
    SetClientHeight(170);
    int top = 12;
    auto row = [&](TLabel*& label, const char* labelName, const char* caption,
                   const char* editName) {
        label = Place<TLabel>(this, this, labelName, caption, 12, top + 4, 80, 15);
        TEdit* edit = Place<TEdit>(this, this, editName, "", 96, top, 232, 21);
        top += 30;
        return edit;
    };
    edTitle = row(lblTitle, "lblTitle", "Title:", "edTitle");
    edUserName = row(lblUserName, "lblUserName", "User Name:", "edUserName");
    edPassword = row(lblPassword, "lblPassword", "Password:", "edPassword");
    edURL = row(lblURL, "lblURL", "URL:", "edURL");
    cmdOK = Place<TButton>(this, this, "cmdOK", "&OK", 172, 134, 75, 25);
    cmdOK->SetDefault(true);
    cmdOK->SetModalResult(mrOk);
    cmdCancel = Place<TButton>(this, this, "cmdCancel", "&Cancel", 253, 134, 75, 25);
    cmdCancel->SetCancel(true);
    cmdCancel->SetModalResult(mrCancel);
    OnShow = [this](TObject*) { edTitle->SetFocus(); };
}
