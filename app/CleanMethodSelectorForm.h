#pragma once
// The cleaning-mode dialog: before a "System Clean" run it asks what should happen
// after it. It only returns the choice; the main window acts on it.
#include "classlib/gui/Button.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Label.h"

class TfCleanMethodSelector : public TForm {
public:
    explicit TfCleanMethodSelector(TComponent* owner);

    TLabel* Label1;
    TLabel* Label2;
    TRadioButton* optionClean1; // restart
    TRadioButton* optionClean2; // shut down
    TRadioButton* optionClean3; // "Rapid Erase": neither
    TButton* cmdOK;
    TButton* cmdCancel;

private:
    void FormActivate(TObject* Sender);
    void optionCleanClick(TObject* Sender);
};

extern TfCleanMethodSelector* fCleanMethodSelector;
