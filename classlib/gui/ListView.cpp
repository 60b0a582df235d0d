#include "classlib/gui/ListView.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>
#include <commctrl.h>

int TListItem::Index() const {
    const auto& items = FOwner.FItems;
    auto it =
        std::find_if(items.begin(), items.end(), [this](const auto& p) { return p.get() == this; });
    return static_cast<int>(it - items.begin());
}

void TListItem::SetCaption(const std::string& caption) {
    FCaption = caption;
    FOwner.ShowText(*this, 0, caption);
    FOwner.ItemChanged(*this);
}

void TListItem::AddSubItem(const std::string& text) {
    FSubItems.push_back(text);
    FOwner.ShowText(*this, static_cast<int>(FSubItems.size()), text);
}

void TListItem::ClearSubItems() {
    for (size_t i = 1; i <= FSubItems.size(); ++i)
        FOwner.ShowText(*this, static_cast<int>(i), "");
    FSubItems.clear();
}

void TListItem::SetImageIndex(int index) {
    FImageIndex = index;
    FOwner.ShowImage(*this);
}

void TListItem::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    FOwner.ShowCheck(*this);
    FOwner.ItemChanged(*this);
}

TListView::TListView(TComponent* owner) : TWinControl(owner) {
    FWidth = 250;
    FHeight = 150;
    SetTabStop(true);
    SetColor(clWindow);
}

void TListView::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = WC_LISTVIEWA;
    params.Style |= LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_SHAREIMAGELISTS;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::InitializeWnd() {
    ApplyExtendedStyle();
    HWND wnd = HandleIfAllocated();
    if (FSmallImages)
        SendMessageW(wnd, LVM_SETIMAGELIST, LVSIL_SMALL,
                     reinterpret_cast<LPARAM>(FSmallImages->Handle()));
    for (size_t i = 0; i < FColumns.size(); ++i) {
        std::wstring caption = ToWide(FColumns[i].Caption);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = caption.data();
        column.cx = FColumns[i].Width;
        SendMessageW(wnd, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    for (const auto& item : FItems)
        ShowItem(*item);
}

void TListView::ApplyExtendedStyle() {
    if (!HandleAllocated()) return;
    DWORD style = (FCheckboxes ? LVS_EX_CHECKBOXES : 0) | (FRowSelect ? LVS_EX_FULLROWSELECT : 0);
    SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 style);
}

void TListView::AddColumn(const std::string& caption, int width) {
    FColumns.push_back({caption, width});
    if (HandleAllocated()) RecreateWnd();
}

void TListView::SetSmallImages(TImageList* images) {
    FSmallImages = images;
    if (HandleAllocated())
        SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL,
                     reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}

void TListView::SetCheckboxes(bool value) {
    FCheckboxes = value;
    ApplyExtendedStyle();
}

void TListView::SetRowSelect(bool value) {
    FRowSelect = value;
    ApplyExtendedStyle();
}

TListItem* TListView::AddItem() {
    FItems.push_back(std::make_unique<TListItem>(*this));
    ShowItem(*FItems.back());
    return FItems.back().get();
}

void TListView::Clear() {
    if (HandleAllocated()) SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0);
    FItems.clear();
}

void TListView::BeginUpdate() {
    if (FUpdateCount++ == 0 && HandleAllocated()) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate() {
    if (FUpdateCount == 0 || --FUpdateCount > 0 || !HandleAllocated()) return;
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    Invalidate();
}

void TListView::ItemChanged(TListItem& item) {
    if (OnChange) OnChange(this, &item);
}

void TListView::ShowItem(const TListItem& item) {
    if (!HandleAllocated()) return;
    LVITEMW row{};
    row.mask = LVIF_TEXT;
    row.iItem = item.Index();
    std::wstring caption = ToWide(item.FCaption);
    row.pszText = caption.data();
    SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
    for (size_t i = 0; i < item.FSubItems.size(); ++i)
        ShowText(item, static_cast<int>(i + 1), item.FSubItems[i]);
    ShowCheck(item);
    ShowImage(item);
}

void TListView::ShowImage(const TListItem& item) {
    if (!HandleAllocated()) return;
    LVITEMW row{};
    row.mask = LVIF_IMAGE;
    row.iItem = item.Index();
    row.iImage = item.FImageIndex;
    SendMessageW(Handle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&row));
}

void TListView::ShowText(const TListItem& item, int column, const std::string& text) {
    if (!HandleAllocated()) return;
    LVITEMW row{};
    row.iSubItem = column;
    std::wstring copy = ToWide(text);
    row.pszText = copy.data();
    SendMessageW(Handle(), LVM_SETITEMTEXTW, item.Index(), reinterpret_cast<LPARAM>(&row));
}

void TListView::ShowCheck(const TListItem& item) {
    if (!HandleAllocated() || !FCheckboxes) return;
    LVITEMW row{};
    row.stateMask = LVIS_STATEIMAGEMASK;
    row.state = INDEXTOSTATEIMAGEMASK(item.FChecked ? 2 : 1);
    SendMessageW(Handle(), LVM_SETITEMSTATE, item.Index(), reinterpret_cast<LPARAM>(&row));
}

void TListView::WndProc(TMessage& message) {
    if (message.Msg == CN_NOTIFY) return CNNotify(message);
    TWinControl::WndProc(message);
}

// A click on a check box changes the window's state image: the item follows it.
// Changes this class made itself find the item already in that state.
void TListView::CNNotify(TMessage& message) {
    auto header = reinterpret_cast<const NMHDR*>(message.LParam);
    if (header->code != LVN_ITEMCHANGED) return;
    auto change = reinterpret_cast<const NMLISTVIEW*>(message.LParam);
    if (!(change->uChanged & LVIF_STATE) || change->iItem < 0 || change->iItem >= Count()) return;
    if (((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) == 0) return;
    unsigned image = (change->uNewState & LVIS_STATEIMAGEMASK) >> 12;
    if (image == 0) return; // no state image yet
    FItems[change->iItem]->SetChecked(image == 2);
}
