#pragma once
// The AutoFind dialog: edits a list of Internet Explorer's URL templates. Showing it
// lists AutoFindList; OK writes the rows back into it, Cancel leaves it unchanged.
#include "classlib/base/StringList.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/ListView.h"

class TfEditIEAutoFind : public TForm {
public:
    explicit TfEditIEAutoFind(TComponent* owner);

    TStringList* AutoFindList = nullptr; // not owned; set by the caller before showing

    TLabel* lblAutoFind;
    TListView* lvAutoFind;
    TButton *btnAdd, *btnModify, *btnDelete, *btnMoveUp, *btnMoveDown, *btnOK, *btnCancel;

private:
    void FillList();
    void UpdateButtons();
    void btnAddClick();
    void btnModifyClick();
    void btnDeleteClick();
    void MoveSelected(int step); // to the row above (-1) or below (+1)
    void btnOKClick();
    void SelectOnly(TListItem* row);
};

extern TfEditIEAutoFind* fEditIEAutoFind;
