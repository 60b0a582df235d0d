#include "classlib/gui/PageControl.h"
#include "classlib/gui/TypInfo.h"
#include <algorithm>
#include <commctrl.h>

namespace {

[[maybe_unused]] const bool Registered = RegisterPublished<TTabSheet>({
    Published("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible),
    Published("PageIndex", &TTabSheet::PageIndex),
}) && RegisterPublished<TPageControl>({
    Published("ActivePageIndex", &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex),
});

}  // namespace

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    SetAlign(alClient);
}

TTabSheet::~TTabSheet() { SetPageControl(nullptr); }

void TTabSheet::SetPageControl(TPageControl* pageControl) {
    if (pageControl == FPageControl) return;
    if (FPageControl) FPageControl->RemovePage(this);
    FPageControl = pageControl;
    SetParent(pageControl);
    if (pageControl) pageControl->InsertPage(this);
}

void TTabSheet::SetTabVisible(bool value) {
    FTabVisible = value;
    if (FPageControl) FPageControl->UpdateTabs();
}

int TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    auto& pages = FPageControl->FPages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::WndProc(TMessage& message) {
    TWinControl::WndProc(message);
    if (message.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->UpdateTabs();
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    FWidth = 289;
    FHeight = 193;
    SetTabStop(true);
}

TPageControl::~TPageControl() {
    for (TTabSheet* page : FPages) page->FPageControl = nullptr;  // freed as children
}

void TPageControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = WC_TABCONTROLA;
}

void TPageControl::InitializeWnd() { UpdateTabs(); }

void TPageControl::InsertPage(TTabSheet* page) {
    FPages.push_back(page);
    if (!FActivePage) SetActivePage(page);
    UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page) {
    FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
    if (FActivePage == page) {
        FActivePage = nullptr;
        if (!FPages.empty()) SetActivePage(FPages.front());
    }
    UpdateTabs();
}

int TPageControl::TabIndexOf(const TTabSheet* page) const {
    int tab = 0;
    for (TTabSheet* p : FPages) {
        if (p == page) return p->TabVisible() ? tab : -1;
        tab += p->TabVisible();
    }
    return -1;
}

void TPageControl::UpdateTabs() {
    if (!HandleAllocated()) return;
    HWND wnd = Handle();
    SendMessageA(wnd, TCM_DELETEALLITEMS, 0, 0);
    int tab = 0;
    for (TTabSheet* page : FPages) {
        if (!page->TabVisible()) continue;
        std::string text = page->Caption();
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageA(wnd, TCM_INSERTITEMA, tab++, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(wnd, TCM_SETCURSEL, TabIndexOf(FActivePage), 0);
    Realign();
}

void TPageControl::AdjustClientRect(RECT& rect) {
    bool anyTab = std::any_of(FPages.begin(), FPages.end(), [](TTabSheet* p) { return p->TabVisible(); });
    if (HandleAllocated() && anyTab) SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->PageControl() != this) return;
    TTabSheet* old = FActivePage;
    FActivePage = page;
    if (page) page->SetVisible(true);
    if (old && old != page) old->SetVisible(false);
    if (HandleAllocated()) SendMessageA(Handle(), TCM_SETCURSEL, TabIndexOf(page), 0);
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(index >= 0 && index < PageCount() ? FPages[index] : nullptr);
}

void TPageControl::WndProc(TMessage& message) {
    if (message.Msg == CN_NOTIFY) return CNNotify(message);
    TWinControl::WndProc(message);
}

void TPageControl::CNNotify(TMessage& message) {
    if (reinterpret_cast<NMHDR*>(message.LParam)->code != TCN_SELCHANGE) return;
    int tab = static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
    for (TTabSheet* page : FPages) {
        if (TabIndexOf(page) != tab) continue;
        SetActivePage(page);
        if (OnChange) OnChange(this);
        return;
    }
}
