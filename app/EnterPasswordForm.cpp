#include "app/EnterPasswordForm.h"
#include "classlib/gui/PlaceControl.h"

TfEnterPassword* fEnterPassword = nullptr;

TfEnterPassword::TfEnterPassword(TComponent* owner) : TForm(owner) {
    SetName("fEnterPassword");
    SetCaption("  Tarnwhistle");
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientWidth(260);
    SetClientHeight(100);
    lblEnterPassword = Place<TLabel>(this, this, "lblEnterPassword", "Please enter the password.",
                                     12, 10, 236, 15);
    edPassword = Place<TEdit>(this, this, "edPassword", "", 12, 32, 236, 21);
    edPassword->SetPasswordChar('#');
    cmdOK = Place<TButton>(this, this, "cmdOK", "OK", 92, 66, 75, 25);
    cmdOK->SetDefault(true);
    cmdOK->SetModalResult(mrOk);
    cmdCancel = Place<TButton>(this, this, "cmdCancel", "&Cancel", 173, 66, 75, 25);
    cmdCancel->SetCancel(true);
    cmdCancel->SetModalResult(mrCancel);
    OnActivate = [this](TObject*) { edPassword->SetText(""); };
}
