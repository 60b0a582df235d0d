#pragma once
// The dialog that adds or edits one stored password. The caller sets the caption and
// the four texts, shows it modally and reads the texts back after OK.
#include "classlib/gui/Button.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Label.h"

class TfEditPasswordManager : public TForm {
public:
    explicit TfEditPasswordManager(TComponent* owner);

    TLabel *lblTitle, *lblUserName, *lblPassword, *lblURL;
    TEdit *edTitle, *edUserName, *edPassword, *edURL; // the password is shown
    TButton *cmdOK, *cmdCancel;
};

extern TfEditPasswordManager* fEditPasswordManager;
