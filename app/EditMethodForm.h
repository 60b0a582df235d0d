#pragma once
// The wipe-method editor: name, description and passes of its own working copy of a
// method, which the caller fills with SetMethod and reads back with GetMethod after
// OK. Every change of a pass control writes into the pass shown. Main thread only.
#include "classlib/gui/BitBtn.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/Layout.h"
#include "classlib/gui/ListView.h"
#include "classlib/gui/Memo.h"
#include "classlib/gui/SpinEdit.h"
#include "engine/wipe/WipeMethod.h"

class TfEditMethod : public TForm {
public:
    explicit TfEditMethod(TComponent* owner);

    TButton *btnOK, *btnCancel;
    TLabel* lblPasses;
    TBitBtn *btnAddPass, *btnEditPass, *btnDeletePass;
    TGroupBox* grpPass;
    TGroupBox* grpWipeWith;
    TLabel *lblAND1, *lblAND2;
    TSpinEdit* txtBytePattern;
    TMemo* txtTextPattern;
    TRadioButton *radBytePattern, *radTextPattern, *radRandomBytes, *radRandomCharacter;
    TSpinEdit *txtRandomBytes1, *txtRandomBytes2, *txtRandomCharacter1, *txtRandomCharacter2;
    TCheckBox* chkCheckWipe;
    TLabel* lblMethodName;
    TEdit* txtMethodName;
    TMemo* txtMethodDescription;
    TLabel* lblMethodDescription;
    TListView* lvPasses; // each row's Data is its pass of Method

    TWipeMethod Method;           // the working copy
    TPass* CurrentPass = nullptr; // the pass the controls show, or nullptr

    void SetMethod(const TWipeMethod& method); // copies all but the file name
    void GetMethod(TWipeMethod& method) const;

    void lvPassesClick();
    void btnAddPassClick();
    void btnEditPassClick();
    void btnDeletePassClick();

private:
    void BuildPassGroup(const TBounds& bounds);
    void BindPassControls();
    void FillPasses();
    [[nodiscard]] TPass* SelectedPass() const;
    void ShowPass(const TPass& pass);
    void btnOKClick();
    // True, after an error box, when text has characters the method file cannot hold.
    bool Refused(const std::string& text, const std::string& what);

    bool FShowing = false;     // controls are being set from a pass: nothing to write back
    bool FFocusPasses = false; // the list takes the focus when the shown form activates
};

extern TfEditMethod* fEditMethod;
