#pragma once
// TBusyScope: controls disabled, and a screen cursor shown where one is named, for as
// long as the scope lives; however it ends (a return, an exception) the controls are
// enabled again and the cursor put back. Main thread only.
#include "classlib/gui/Controls.h"
#include "classlib/gui/Screen.h"
#include <initializer_list>
#include <vector>

class TBusyScope {
public:
    explicit TBusyScope(std::initializer_list<TControl*> controls, TCursor cursor = crDefault)
        : FControls(controls), FOldCursor(Screen->Cursor()), FSetsCursor(cursor != crDefault) {
        if (FSetsCursor) Screen->SetCursor(cursor);
        for (TControl* control : FControls)
            control->SetEnabled(false);
    }
    ~TBusyScope() {
        for (TControl* control : FControls)
            control->SetEnabled(true);
        if (FSetsCursor) Screen->SetCursor(FOldCursor);
    }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    std::vector<TControl*> FControls;
    TCursor FOldCursor;
    bool FSetsCursor;
};
