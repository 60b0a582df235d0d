#pragma once
// The password dialog: asks for the access password when the program starts. It only
// returns the entered text; the main window compares it.
#include "classlib/gui/Button.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Label.h"

class TfEnterPassword : public TForm {
public:
    explicit TfEnterPassword(TComponent* owner);

    TLabel* lblEnterPassword;
    TEdit* edPassword; // shows "#" for every character
    TButton* cmdOK;
    TButton* cmdCancel;
};

extern TfEnterPassword* fEnterPassword;
