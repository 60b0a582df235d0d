#pragma once
// The base of the two keep dialogs: lists what an eraser would erase now, one row
// with a check box per entry; checked entries are kept (left out of cleaning). The
// working KeepList is reloaded from the eraser at every showing; OK writes it
// back, Cancel leaves the eraser as it was. Main thread only.
#include "classlib/base/StringList.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/ListView.h"
#include "engine/erasers/Eraser.h"
#include <string>
#include <vector>

class TKeepForm : public TForm {
public:
    TLabel* lblFilterBy;
    TEdit* edFilter;
    TButton* btnFilter;
    TLabel* Label1;
    TListView* List; // lvCookies or lvURLs
    TButton* btnOK;
    TButton* btnCnacel;
    TButton* btnSelectAll;
    TButton* btnDeselectAll;
    TStringList KeepList; // ignores letter case

    // Empties the list, collects every entry (kept ones too) and adds a row for each.
    void FillList();
    // A cleaning run owns the eraser's items and lists while it goes: the dialog then
    // allows only Cancel, and lists afresh when the run has ended.
    void RunningChanged(bool running);

protected:
    TKeepForm(TComponent* owner, const char* listName, const char* firstColumn, const char* prompt);
    [[nodiscard]] virtual TEraser* EditedEraser() const = 0;
    // The eraser's own list of kept keys.
    virtual std::vector<std::string>& ExclusionList() = 0;
    virtual void AddRows() = 0;
    // The key of a row: what the exclusion list holds for it.
    [[nodiscard]] virtual std::string RowKey(const TListItem& row) const = 0;
    [[nodiscard]] bool IsKept(const std::string& key) const { return KeepList.IndexOf(key) >= 0; }

private:
    bool FRunning = false;
    void Collect();
    void ListChange(TListItem* row);
    void CheckAll(bool checked);
    void btnOKClick();
};
