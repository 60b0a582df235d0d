#include "classlib/gui/ListView.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>
#include <commctrl.h>
#include <windowsx.h>

int TListItem::Index() const {
    return FIndex;
}

void TListItem::SetCaption(const std::string& caption) {
    if (!FCaption.empty()) FOwner.TextReplaced(0);
    FCaption = caption;
    FOwner.ShowText(*this, 0, caption);
    FOwner.ItemChanged(*this);
}

void TListItem::AddSubItem(const std::string& text) {
    FSubItems.push_back(text);
    FOwner.ShowText(*this, static_cast<int>(FSubItems.size()), text);
}

void TListItem::SetSubItem(size_t index, const std::string& text) {
    FOwner.TextReplaced(static_cast<int>(index + 1));
    FSubItems.at(index) = text;
    FOwner.ShowText(*this, static_cast<int>(index + 1), text);
}

void TListItem::ClearSubItems() {
    for (size_t i = 1; i <= FSubItems.size(); ++i) {
        FOwner.TextReplaced(static_cast<int>(i));
        FOwner.ShowText(*this, static_cast<int>(i), "");
    }
    FSubItems.clear();
}

void TListItem::SetImageIndex(int index) {
    FImageIndex = index;
    FOwner.ShowImage(*this);
}

void TListItem::SetSelected(bool value) {
    if (value == FSelected) return;
    if (value && !FOwner.FMultiSelect)
        for (const auto& other : FOwner.FItems)
            if (other.get() != this) other->SetSelected(false);
    FSelected = value;
    FOwner.ShowSelection(*this);
    if (FOwner.OnSelectItem) FOwner.OnSelectItem(&FOwner, this, value);
}

void TListItem::MakeFocused() {
    if (!FOwner.HandleAllocated()) return;
    LVITEMW row{};
    row.stateMask = LVIS_FOCUSED;
    row.state = LVIS_FOCUSED;
    SendMessageW(FOwner.Handle(), LVM_SETITEMSTATE, Index(), reinterpret_cast<LPARAM>(&row));
    SendMessageW(FOwner.Handle(), LVM_ENSUREVISIBLE, Index(), FALSE);
}

void TListItem::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    FOwner.ShowCheck(*this);
    FOwner.ItemChanged(*this);
}

TListView::TListView(TComponent* owner) : TCustomListView(owner) {
    FWidth = 250;
    FHeight = 150;
    SetTabStop(true);
    SetColor(clWindow);
}

void TListView::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = WC_LISTVIEWA;
    params.Style |= LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
    if (!FMultiSelect) params.Style |= LVS_SINGLESEL;
    if (!FShowColumnHeaders) params.Style |= LVS_NOCOLUMNHEADER;
    if (FEditCaptions) params.Style |= LVS_EDITLABELS;
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
        column.cx = ColumnWidth(i);
        SendMessageW(wnd, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    if (FItems.empty()) return;
    BeginUpdate(); // rows made before the window go in unpainted
    for (const auto& item : FItems)
        ShowItem(*item);
    EndUpdate();
}

void TListView::ApplyExtendedStyle() {
    if (!HandleAllocated()) return;
    DWORD style = (FCheckboxes ? LVS_EX_CHECKBOXES : 0) | (FRowSelect ? LVS_EX_FULLROWSELECT : 0) |
                  (FGridLines ? LVS_EX_GRIDLINES : 0);
    SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, style);
}

int TListView::ColumnWidth(size_t index) {
    if (FColumns[index].Width != FillWidth) return FColumns[index].Width;
    int rest = ClientWidth() - GetSystemMetrics(SM_CXVSCROLL);
    for (const TColumn& column : FColumns)
        if (column.Width != FillWidth) rest -= column.Width;
    return std::max(rest, 50);
}

void TListView::AddColumn(const std::string& caption, int width, TColumnKind kind) {
    FColumns.push_back({caption, width, kind});
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

void TListView::SetGridLines(bool value) {
    FGridLines = value;
    ApplyExtendedStyle();
}

void TListView::SetEditCaptions(bool value) {
    FEditCaptions = value;
    if (HandleAllocated()) RecreateWnd();
}

void TListView::SetMultiSelect(bool value) {
    FMultiSelect = value;
    if (HandleAllocated()) RecreateWnd();
}

void TListView::SetShowColumnHeaders(bool value) {
    FShowColumnHeaders = value;
    if (HandleAllocated()) RecreateWnd();
}

TListItem* TListView::AddItem() {
    return InsertItem(Count());
}

TListItem* TListView::InsertItem(int index) {
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, std::make_unique<TListItem>(*this));
    Renumber(index);
    ShowItem(*FItems[index]);
    return FItems[index].get();
}

void TListView::Renumber(size_t from) {
    for (size_t i = from; i < FItems.size(); ++i)
        FItems[i]->FIndex = static_cast<int>(i);
}

// The row leaves the window unselected: the window would otherwise pass its selection
// on to the row that takes its place, without a notification.
void TListView::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    FItems[index]->FSelected = false;
    if (HandleAllocated()) {
        LVITEMW row{};
        row.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(Handle(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&row));
        SendMessageW(Handle(), LVM_DELETEITEM, index, 0);
    }
    FItems.erase(FItems.begin() + index);
    Renumber(index);
    HideCellHint();
    FRemeasure = true;
    FitColumnsLater();
}

int TListView::TopIndex() const {
    HWND wnd = HandleIfAllocated();
    return wnd ? static_cast<int>(SendMessageW(wnd, LVM_GETTOPINDEX, 0, 0)) : 0;
}

// Report views scroll by pixels, in whole rows.
void TListView::SetTopIndex(int index) {
    if (!HandleAllocated() || index <= 0 || Count() == 0) return;
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    if (!SendMessageW(Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row))) return;
    const int rows = std::min(index, Count() - 1) - TopIndex();
    SendMessageW(Handle(), LVM_SCROLL, 0, rows * (row.bottom - row.top));
}

TListItem* TListView::Selected() const {
    for (const auto& item : FItems)
        if (item->FSelected) return item.get();
    return nullptr;
}

TListItem* TListView::FindData(const void* data) const {
    for (const auto& item : FItems)
        if (item->Data == data) return item.get();
    return nullptr;
}

std::vector<TListItem*> TListView::SelectedItems() const {
    std::vector<TListItem*> selected;
    for (const auto& item : FItems)
        if (item->FSelected) selected.push_back(item.get());
    return selected;
}

// Rows already in order are not shown anew.
void TListView::SortByCaption() {
    auto before = [](const auto& a, const auto& b) {
        return CompareText(a->FCaption, b->FCaption) < 0;
    };
    if (std::is_sorted(FItems.begin(), FItems.end(), before)) return;
    std::stable_sort(FItems.begin(), FItems.end(), before);
    Renumber(0);
    if (!HandleAllocated()) return;
    BeginUpdate();
    SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0);
    for (const auto& item : FItems)
        ShowItem(*item);
    EndUpdate();
}

void TListView::EditCaption(TListItem* item) {
    SetFocus();
    SendMessageW(Handle(), LVM_EDITLABELW, item->Index(), 0);
}

void TListView::Clear() {
    if (HandleAllocated()) SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0);
    FItems.clear();
    FUnmeasured.clear();
    FRemeasure = true;
    HideCellHint();
    FitColumnsLater();
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
    const bool cut = !FColumns.empty() && FColumns[0].Kind == ckPath;
    row.pszText = cut ? LPSTR_TEXTCALLBACKW : caption.data();
    SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
    TextShown(0, item.FCaption);
    for (size_t i = 0; i < item.FSubItems.size(); ++i)
        ShowText(item, static_cast<int>(i + 1), item.FSubItems[i]);
    ShowCheck(item);
    ShowImage(item);
    ShowSelection(item);
}

void TListView::ShowImage(const TListItem& item) {
    if (!HandleAllocated()) return;
    LVITEMW row{};
    row.mask = LVIF_IMAGE;
    row.iItem = item.Index();
    row.iImage = item.FImageIndex;
    SendMessageW(Handle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&row));
}

// A path column's text comes from GetDisplayText, which cuts it for the paint only.
void TListView::ShowText(const TListItem& item, int column, const std::string& text) {
    if (!HandleAllocated()) return;
    LVITEMW row{};
    row.iSubItem = column;
    std::wstring copy = ToWide(text);
    const bool cut = column < static_cast<int>(FColumns.size()) && FColumns[column].Kind == ckPath;
    row.pszText = cut ? LPSTR_TEXTCALLBACKW : copy.data();
    const int index = item.Index();
    SendMessageW(Handle(), LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&row));
    if (FHintCell.x == column && FHintCell.y == index) HideCellHint();
    TextShown(column, text);
}

void TListView::ShowCheck(const TListItem& item) {
    if (!HandleAllocated() || !FCheckboxes) return;
    LVITEMW row{};
    row.stateMask = LVIS_STATEIMAGEMASK;
    row.state = INDEXTOSTATEIMAGEMASK(item.FChecked ? 2 : 1);
    SendMessageW(Handle(), LVM_SETITEMSTATE, item.Index(), reinterpret_cast<LPARAM>(&row));
}

void TListView::ShowSelection(const TListItem& item) {
    if (!HandleAllocated()) return;
    LVITEMW row{};
    row.stateMask = LVIS_SELECTED;
    row.state = item.FSelected ? LVIS_SELECTED : 0;
    SendMessageW(Handle(), LVM_SETITEMSTATE, item.Index(), reinterpret_cast<LPARAM>(&row));
}

void TListView::WndProc(TMessage& message) {
    if (message.Msg == CN_NOTIFY) return CNNotify(message);
    if (message.Msg == WM_CONTEXTMENU && PopupMenu) return WMContextMenu(message);
    if (message.Msg == FitColumnsMessage()) return FitColumns();
    if (message.Msg == WM_MOUSEMOVE && HandleAllocated()) ShowCellHint(message);
    if (message.Msg == WM_MOUSELEAVE) FLastMove = -1;
    if (message.Msg == WM_PAINT || message.Msg == WM_PRINTCLIENT) {
        const bool painting = FPainting;
        FPainting = true;
        TWinControl::WndProc(message);
        FPainting = painting;
        return;
    }
    TWinControl::WndProc(message);
}

// A click on a check box changes the window's state image, a click on a row its
// selection: the items follow. Changes this class made itself find the item already
// in that state. An item index of -1 stands for every row.
void TListView::CNNotify(TMessage& message) {
    auto header = reinterpret_cast<const NMHDR*>(message.LParam);
    switch (header->code) {
    case NM_CLICK: return Click();
    case NM_DBLCLK:
        if (OnDblClick) OnDblClick(this);
        return;
    case LVN_ITEMCHANGED:
        return ItemStateChanged(*reinterpret_cast<const NMLISTVIEW*>(message.LParam));
    case LVN_GETDISPINFOW: return GetDisplayText(message);
    case NM_CUSTOMDRAW: return CustomDraw(message);
    case LVN_ENDLABELEDITW: {
        auto info = reinterpret_cast<const NMLVDISPINFOW*>(message.LParam);
        if (info->item.pszText && info->item.iItem >= 0 && info->item.iItem < Count())
            CaptionEdited(message, *FItems[info->item.iItem], ToUtf8(info->item.pszText));
        return;
    }
    default: return;
    }
}

void TListView::ItemStateChanged(const NMLISTVIEW& change) {
    if (!(change.uChanged & LVIF_STATE) || change.iItem >= Count()) return;
    const unsigned changed = change.uNewState ^ change.uOldState;
    if (changed & LVIS_SELECTED) {
        const bool selected = change.uNewState & LVIS_SELECTED;
        if (change.iItem >= 0)
            FItems[change.iItem]->SetSelected(selected);
        else
            for (size_t i = 0; i < FItems.size(); ++i)
                FItems[i]->SetSelected(selected);
    }
    if (change.iItem < 0 || (changed & LVIS_STATEIMAGEMASK) == 0) return;
    unsigned image = (change.uNewState & LVIS_STATEIMAGEMASK) >> 12;
    if (image == 0) return; // no state image yet
    FItems[change.iItem]->SetChecked(image == 2);
}

// A selection stays as plain while the list has no focus as while it has: the buttons
// beside a list act on it. The window would paint it in the colour of a button face.
void TListView::CustomDraw(TMessage& message) {
    auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(message.LParam);
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        message.Result = CDRF_NOTIFYITEMDRAW;
        return;
    }
    message.Result = CDRF_DODEFAULT;
    if (!(draw.nmcd.dwDrawStage & CDDS_ITEMPREPAINT)) return;
    const bool cell = draw.nmcd.dwDrawStage & CDDS_SUBITEM;
    if (!(draw.nmcd.uItemState & CDIS_SELECTED) || GetFocus() == Handle() ||
        (cell && draw.iSubItem > 0 && !FRowSelect))
        return;
    draw.nmcd.uItemState &= ~CDIS_SELECTED;
    draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    message.Result = CDRF_NEWFONT | (cell ? 0 : CDRF_NOTIFYSUBITEMDRAW);
}

// The window shows the edited text only when the result is TRUE.
void TListView::CaptionEdited(TMessage& message, TListItem& item, const std::string& text) {
    bool accept = false;
    if (OnEdited) OnEdited(this, &item, text, accept);
    if (accept) {
        item.FCaption = text;
        TextReplaced(0);
        FitColumnsLater();
    }
    message.Result = accept;
}

void TListView::WMContextMenu(TMessage& message) {
    POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    if (p.x == -1 && p.y == -1) GetCursorPos(&p); // from the keyboard
    PopupMenu->Popup(p.x, p.y, Handle());
}
