#include "app/EnterPasswordForm.h"
#include "classlib/gui/PlaceControl.h"

TfEnterPassword* fEnterPassword = nullptr;

TfEnterPassword::TfEnterPassword(TComponent* owner) : TForm(owner) {
    SetName("fEnterPassword");
    SetCaption("  Tarnwhistle");
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetLayoutClientSize(this, 260, 100);
    using namespace Layout;
    const TBounds label{12, 10, 236, LabelHeight}, edit = label.Below(7, EditHeight);
    const TGrid buttons = ButtonsEndingAt(edit.Right(), edit.Bottom() + 13, 2, ButtonWidth);
    lblEnterPassword =
        Place<TLabel>(this, this, "lblEnterPassword", "Please enter the password.", label);
    edPassword = Place<TEdit>(this, this, "edPassword", "", edit);
    edPassword->SetPasswordChar('#');
    cmdOK = Place<TButton>(this, this, "cmdOK", "OK", buttons.Cell(0, 0));
    cmdOK->SetDefault(true);
    cmdOK->SetModalResult(mrOk);
    cmdCancel = Place<TButton>(this, this, "cmdCancel", "&Cancel", buttons.Cell(1, 0));
    cmdCancel->SetCancel(true);
    cmdCancel->SetModalResult(mrCancel);
    OnActivate = [this](TObject*) { edPassword->SetText(""); };
}
