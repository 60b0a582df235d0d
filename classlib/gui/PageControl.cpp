#include "classlib/gui/PageControl.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>
#include <commctrl.h>

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    SetPageControl(nullptr);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
    if (pageControl == FPageControl) return;
    if (FPageControl) FPageControl->RemovePage(this);
    FPageControl = pageControl;
    SetParent(pageControl);
    if (pageControl) pageControl->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    const auto& pages = FPageControl->FPages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetTabVisible(bool value) {
    if (value == FTabVisible) return;
    FTabVisible = value;
    if (FPageControl) FPageControl->TabVisibilityChanged(this);
}

void TTabSheet::WndProc(TMessage& message) {
    TWinControl::WndProc(message);
    if (message.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->UpdateTabs();
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {
    FWidth = 289;
    FHeight = 193;
    SetTabStop(true);
}

// The sheets outlive the page's list while the base class frees its children.
TPageControl::~TPageControl() {
    for (TTabSheet* page : FPages)
        page->FPageControl = nullptr;
    FPages.clear();
}

void TPageControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = WC_TABCONTROLA;
}

void TPageControl::CreateWnd() {
    TWinControl::CreateWnd();
    UpdateTabs();
    LayoutPages();
}

void TPageControl::InsertPage(TTabSheet* page) {
    FPages.push_back(page);
    if (!FActivePage) SetActivePage(page);
    UpdateTabs();
    LayoutPages();
}

void TPageControl::RemovePage(TTabSheet* page) {
    FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
    if (FActivePage == page) {
        FActivePage = nullptr;
        if (!FPages.empty()) SetActivePage(FPages.front());
    }
    UpdateTabs();
}

std::vector<TTabSheet*> TPageControl::VisibleTabs() const {
    std::vector<TTabSheet*> tabs;
    for (TTabSheet* page : FPages)
        if (page->TabVisible()) tabs.push_back(page);
    return tabs;
}

void TPageControl::TabVisibilityChanged(TTabSheet* page) {
    std::vector<TTabSheet*> tabs = VisibleTabs();
    if (page == FActivePage && !page->TabVisible() && !tabs.empty()) {
        // The next sheet in page order whose tab shows, else the first one.
        auto next = std::find_if(FPages.begin() + page->PageIndex(), FPages.end(),
                                 [](TTabSheet* p) { return p->TabVisible(); });
        SetActivePage(next != FPages.end() ? *next : tabs.front());
    }
    UpdateTabs();
    LayoutPages();
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->PageControl() != this) return;
    TTabSheet* previous = FActivePage;
    FActivePage = page;
    for (TTabSheet* p : FPages)
        p->SetVisible(p == page);
    UpdateTabs();
    LayoutPages();
    if (page && page != previous && page->OnShow) page->OnShow(page);
}

int TPageControl::ActivePageIndex() const {
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(index >= 0 && index < PageCount() ? FPages[index] : nullptr);
}

void TPageControl::UpdateTabs() {
    HWND wnd = HandleIfAllocated();
    if (!wnd) return;
    SendMessageW(wnd, TCM_DELETEALLITEMS, 0, 0);
    int selected = -1, index = 0;
    for (TTabSheet* page : VisibleTabs()) {
        std::wstring caption = ToWide(page->Caption());
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(wnd, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
        if (page == FActivePage) selected = index;
        ++index;
    }
    SendMessageW(wnd, TCM_SETCURSEL, selected, 0);
}

RECT TPageControl::DisplayRect() {
    RECT r = ClientRect();
    if (HandleAllocated() && !VisibleTabs().empty())
        SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TPageControl::LayoutPages() {
    RECT r = DisplayRect();
    for (TTabSheet* page : FPages)
        page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_NOTIFY: CNNotify(message); break;
    case WM_SIZE:
        TWinControl::WndProc(message);
        LayoutPages();
        break;
    default: TWinControl::WndProc(message); break;
    }
}

void TPageControl::CNNotify(TMessage& message) {
    auto header = reinterpret_cast<const NMHDR*>(message.LParam);
    if (header->code != TCN_SELCHANGE) return;
    int index = static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
    std::vector<TTabSheet*> tabs = VisibleTabs();
    if (index < 0 || index >= static_cast<int>(tabs.size())) return;
    SetActivePage(tabs[index]);
    if (OnChange) OnChange(this);
}
