#pragma once
// TPageControl (superclassed "SysTabControl32") and its TTabSheet pages. Each sheet
// has a tab while TabVisible; the active sheet fills the display area, the others are
// hidden. OnChange fires (main thread) when the user picks another tab.
#include "classlib/gui/WinControl.h"
#include <vector>

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    [[nodiscard]] TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* pageControl);  // also the parent
    [[nodiscard]] bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    [[nodiscard]] int PageIndex() const;

protected:
    void WndProc(TMessage& message) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    [[nodiscard]] int PageCount() const { return static_cast<int>(FPages.size()); }
    [[nodiscard]] TTabSheet* Pages(int index) const { return FPages.at(index); }
    [[nodiscard]] TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* page);
    [[nodiscard]] int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;
    void AdjustClientRect(RECT& rect) override;
    void CNNotify(TMessage& message);

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void UpdateTabs();
    [[nodiscard]] int TabIndexOf(const TTabSheet* page) const;  // -1 without a tab

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};
