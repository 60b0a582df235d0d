#include "app/CleanMethodSelectorForm.h"
#include "classlib/gui/PlaceControl.h"

TfCleanMethodSelector* fCleanMethodSelector = nullptr;

TfCleanMethodSelector::TfCleanMethodSelector(TComponent* owner) : TForm(owner) {
    SetName("fCleanMethodSelector");
    SetCaption("Cleaning Mode");
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetLayoutClientSize(this, 380, 190);
    using namespace Layout;
    Label1 =
        Place<TLabel>(this, this, "Label1",
                      "In order for all cleaning functions to complete it is required that you "
                      "reboot your system.",
                      {12, 10, 356, 30});
    Label1->SetAutoSize(false);
    Label1->SetWordWrap(true);
    Label2 = Place<TLabel>(this, this, "Label2", "What would you like to do?",
                           {12, 48, 200, LabelHeight});
    const TGrid options = Down(20, 72, 350, 18, 6);
    optionClean1 = Place<TRadioButton>(this, this, "optionClean1",
                                       "Restart my computer upon completion (Recommended)",
                                       options.Cell(0, 0));
    optionClean2 = Place<TRadioButton>(this, this, "optionClean2",
                                       "Shutdown my computer upon completion", options.Cell(0, 1));
    optionClean3 =
        Place<TRadioButton>(this, this, "optionClean3",
                            "Nothing, I will restart later (Rapid Erase)", options.Cell(0, 2));
    for (TRadioButton* option : {optionClean1, optionClean2, optionClean3})
        option->OnClick = [this](TObject* sender) { optionCleanClick(sender); };
    const TGrid buttons = ButtonsEndingAt(367, 154, 2, ButtonWidth, 11);
    cmdOK = Place<TButton>(this, this, "cmdOK", "&OK", buttons.Cell(0, 0));
    cmdOK->SetDefault(true);
    cmdOK->SetModalResult(mrOk);
    cmdCancel = Place<TButton>(this, this, "cmdCancel", "&Cancel", buttons.Cell(1, 0));
    cmdCancel->SetCancel(true);
    cmdCancel->SetModalResult(mrCancel);
    OnActivate = [this](TObject* sender) { FormActivate(sender); };
}

void TfCleanMethodSelector::FormActivate(TObject* Sender) {
    for (TRadioButton* option : {optionClean1, optionClean2, optionClean3})
        option->SetChecked(false);
    optionCleanClick(Sender);
}

void TfCleanMethodSelector::optionCleanClick(TObject*) {
    cmdOK->SetEnabled(optionClean1->Checked() || optionClean2->Checked() ||
                      optionClean3->Checked());
}
