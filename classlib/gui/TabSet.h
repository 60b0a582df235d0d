#pragma once
// TTabSet: a row of tabs that hang from the top edge, painted by the control itself.
// Tabs are laid from StartMargin; a tab that would pass the width less EndMargin is
// left out, a later narrower one may still show. A press on a tab selects it. Main
// thread.
#include "classlib/gui/CustomControl.h"
#include <string>
#include <vector>

class TTabSet : public TCustomControl {
public:
    explicit TTabSet(TComponent* owner);

    [[nodiscard]] const std::vector<std::string>& Tabs() const { return FTabs; }
    void SetTabs(std::vector<std::string> tabs);
    [[nodiscard]] int TabIndex() const { return FTabIndex; } // -1: none
    void SetTabIndex(int index);
    [[nodiscard]] int StartMargin() const { return FStartMargin; }
    void SetStartMargin(int value);
    [[nodiscard]] int EndMargin() const { return FEndMargin; }
    void SetEndMargin(int value);
    [[nodiscard]] int FirstIndex() const { return FFirstIndex; } // the first tab shown
    void SetFirstIndex(int index);
    // The tab's rectangle in the client area; empty when it is not shown.
    [[nodiscard]] RECT TabRect(int index);
    // The width a tab takes: its caption's width on the canvas's font + 9.
    [[nodiscard]] int TabWidth(int index);

    TNotifyEvent OnChange; // the selected tab changed; main thread
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void Paint() override;

private:
    std::vector<std::string> FTabs;
    int FTabIndex = -1;
    int FStartMargin = 5;
    int FEndMargin = 15;
    int FFirstIndex = 0;
};
