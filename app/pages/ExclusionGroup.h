#pragma once
// A finder's list of names it leaves out (or, for the junk finder's extensions, takes
// in), in its own group with an "Add" and a "Del" button. "Add" asks for the name in
// the input box and stores it lower-cased in the list's form. Main thread only.
#include "classlib/gui/Button.h"
#include "classlib/gui/CheckListBox.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/Layout.h"
#include <string>
#include <vector>

enum TExclusionKind {
    ekExtension,       // "EXE", ".EXE" or "*.EXE" becomes ".exe"
    ekFile,            // "desktop.ini"
    ekFolder,          // "C:\Temp" becomes "c:\temp\"
    ekIncludeExtension // as ekExtension, in a list whose entries have check boxes
};

class TExclusionGroup : public TGroupBox {
public:
    // The group's controls belong to owner; their names start with listName.
    TExclusionGroup(TComponent* owner, TWinControl* parent, const char* caption,
                    const std::string& listName, TExclusionKind kind, const TBounds& bounds);

    TListBox* List; // a TCheckListBox for ekIncludeExtension
    TButton* AddButton;
    TButton* DelButton;

    void AddClick();
    void DelClick();
    // The entries, or for an include list the checked ones.
    [[nodiscard]] std::vector<std::string> Entries() const;

private:
    TExclusionKind FKind;
};
