#pragma once
// The list of wipe methods ("Wiping Methods"): creates, edits and deletes method
// files, and binds the selected method to Engine when closed with Close. Opened by
// the shredding pages, which set Engine and Engines first. Main thread only.
#include "classlib/gui/Button.h"
#include "classlib/gui/Dialogs.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/ImageList.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/ListView.h"
#include "classlib/gui/Memo.h"
#include "engine/wipe/WipeEngine.h"
#include "engine/wipe/WipeMethod.h"
#include <vector>

class TfMethodsForm : public TForm {
public:
    explicit TfMethodsForm(TComponent* owner);

    TLabel* lblMethods;
    TListView* lvMethods; // each row's Data is its TWipeMethod
    TLabel* lblDescription;
    TButton *btnNewMethod, *btnEditMethod, *btnDeleteMethod, *btnClose;
    TImageList* ImageList;
    TMemo* txtDescription;
    TSaveDialog* SaveDialog;
    TWipeEngine* Engine = nullptr; // the engine being configured
    // Every engine that may be bound to a method: a deleted method's engines are
    // bound anew.
    std::vector<TWipeEngine*> Engines;

    void AddMethodItem(TWipeMethod* method);
    void UpdateButtons();
    void lvMethodsClick();
    void btnNewMethodClick();
    void btnEditMethodClick();
    void btnDeleteMethodClick();
    void btnCloseClick();

private:
    void FillMethods();
    [[nodiscard]] TWipeMethod* SelectedMethod() const;
    [[nodiscard]] std::string ChosenFileName();
    bool SaveMethod(TWipeMethod& method); // false after an error box
    void RebindEngines(const TWipeMethod* deleted, const std::string& fileName);
};

extern TfMethodsForm* fMethodsForm;
