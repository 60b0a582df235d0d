#pragma once
// TPageControl and TTabSheet: a tab control (superclassed "SysTabControl32") that
// shows one of its sheets at a time. A sheet's tab can be hidden; with every tab
// hidden the sheets fill the whole control and only code switches them. Hiding the
// active sheet's tab while others show moves to the next sheet whose tab shows.
// Main thread only.
#include "classlib/gui/WinControl.h"
#include <vector>

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    [[nodiscard]] TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* pageControl); // also the sheet's parent
    [[nodiscard]] int PageIndex() const;
    [[nodiscard]] bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    TNotifyEvent OnShow; // the sheet became the active one; main thread

protected:
    void WndProc(TMessage& message) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
};

// Any tab control: the class a skin tests controls for.
class TCustomTabControl : public TWinControl {
public:
    using TWinControl::TWinControl;
};

class TPageControl : public TCustomTabControl {
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    [[nodiscard]] int PageCount() const { return static_cast<int>(FPages.size()); }
    [[nodiscard]] TTabSheet* Pages(int index) const { return FPages.at(index); }
    [[nodiscard]] TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* page);
    [[nodiscard]] int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    TNotifyEvent OnChange; // the user chose another tab; main thread

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void TabVisibilityChanged(TTabSheet* page);
    void UpdateTabs();
    void LayoutPages();
    [[nodiscard]] std::vector<TTabSheet*> VisibleTabs() const;
    [[nodiscard]] RECT DisplayRect();
    void CNNotify(TMessage& message);

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};
