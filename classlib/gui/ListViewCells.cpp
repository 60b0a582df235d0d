// The list's cells: their texts, the hints of cut ones, and the widths of the
// columns that fit their texts.
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Hints.h"
#include "classlib/gui/ListView.h"
#include <algorithm>
#include <commctrl.h>
#include <windowsx.h>

namespace {

// Room the list leaves between a cell's edges and its text.
constexpr int CellPadding = 12;

// A memory DC with the list's font, for measuring its texts.
class TMeasureDC {
public:
    explicit TMeasureDC(HWND list)
        : FDC(CreateCompatibleDC(nullptr)),
          FOld(SelectObject(FDC, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)))) {}
    ~TMeasureDC() {
        SelectObject(FDC, FOld);
        DeleteDC(FDC);
    }
    TMeasureDC(const TMeasureDC&) = delete;
    TMeasureDC& operator=(const TMeasureDC&) = delete;
    [[nodiscard]] int Width(const std::wstring& text) const {
        SIZE size{};
        GetTextExtentPoint32W(FDC, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    // The path with folders in its middle left out ("c:\a\...\name.txt") so that it
    // fits `width`; the system's path ellipsis.
    [[nodiscard]] std::wstring CutPath(std::wstring text, int width) const {
        if (Width(text) <= width) return text;
        const size_t length = text.size();
        text.resize(length + 4); // DT_MODIFYSTRING may add up to four characters
        RECT rect{0, 0, width, 100};
        DrawTextW(FDC, text.data(), static_cast<int>(length), &rect,
                  DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        text.resize(wcslen(text.c_str()));
        return text;
    }

private:
    HDC FDC;
    HGDIOBJ FOld;
};

} // namespace

const std::string& TListView::CellText(const TListItem& item, int column) const {
    static const std::string none;
    if (column == 0) return item.FCaption;
    return column <= static_cast<int>(item.FSubItems.size()) ? item.FSubItems[column - 1] : none;
}

RECT TListView::CellRect(int row, int column) const {
    RECT rect{LVIR_LABEL, column, 0, 0};
    if (!SendMessageW(HandleIfAllocated(), column == 0 ? LVM_GETITEMRECT : LVM_GETSUBITEMRECT, row,
                      reinterpret_cast<LPARAM>(&rect)))
        return {};
    rect.right -= CellPadding;
    return rect;
}

void TListView::GetDisplayText(TMessage& message) const {
    auto& item = reinterpret_cast<NMLVDISPINFOW*>(message.LParam)->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0 || item.iItem < 0 ||
        item.iItem >= Count())
        return;
    std::wstring text = ToWide(CellText(*FItems[item.iItem], item.iSubItem));
    if (FPainting) {
        const RECT cell = CellRect(item.iItem, item.iSubItem);
        text = TMeasureDC(HandleIfAllocated()).CutPath(std::move(text), cell.right - cell.left);
    }
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
}

// The hint follows the pointer from cell to cell: the whole text of a cut cell, none for
// one that shows all of it. A move the system makes up for a pointer that stays while
// the rows change under it is no move. The move that changed the tool is handed to it.
void TListView::ShowCellHint(TMessage& message) {
    const bool moved = FLastMove != -1 && FLastMove != message.LParam;
    FLastMove = message.LParam;
    if (!moved) return;
    LVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    SendMessageW(Handle(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    const POINT cell{hit.iSubItem, hit.iItem};
    if (cell.x == FHintCell.x && cell.y == FHintCell.y) return;
    FHintCell = cell;
    std::string hint;
    if (cell.y >= 0 && cell.y < Count()) {
        const std::string& text = CellText(*FItems[cell.y], cell.x);
        const RECT rect = CellRect(cell.y, cell.x);
        if (TMeasureDC(Handle()).Width(ToWide(text)) > rect.right - rect.left) hint = text;
    }
    SetShowHint(!hint.empty());
    SetHint(hint);
    MSG move{
        Handle(), message.Msg, message.WParam, message.LParam, static_cast<DWORD>(GetMessageTime()),
        {}};
    GetCursorPos(&move.pt);
    if (!hint.empty())
        SendMessageW(HintWindow(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

void TListView::HideCellHint() {
    FHintCell = {-1, -1};
    SetShowHint(false);
    SetHint("");
}

void TListView::FitColumnsLater() {
    if (FFitPosted || !HandleAllocated()) return;
    if (std::none_of(FColumns.begin(), FColumns.end(),
                     [](const TColumn& column) { return column.Kind == ckName; }))
        return;
    FFitPosted = PostMessageW(Handle(), FitColumnsMessage(), 0, 0);
}

void TListView::TextShown(int column, const std::string& text) {
    if (column < static_cast<int>(FColumns.size()) && FColumns[column].Kind == ckName &&
        !FRemeasure)
        FUnmeasured.emplace_back(column, text);
    FitColumnsLater();
}

// A name column's longest text may have gone.
void TListView::TextReplaced(int column) {
    if (column < static_cast<int>(FColumns.size()) && FColumns[column].Kind == ckName) {
        FRemeasure = true;
        FUnmeasured.clear();
    }
}

// Name columns take the width of their longest text, measured here once for each text
// shown (the system's own sizing measures every row each time); the filling column
// takes what is left.
void TListView::FitColumns() {
    FFitPosted = false;
    if (!HandleAllocated()) return;
    const TMeasureDC measure(Handle());
    for (size_t i = 0; i < FColumns.size(); ++i) {
        TColumn& column = FColumns[i];
        if (column.Kind != ckName) continue;
        if (FRemeasure) {
            column.Widest = 0;
            for (const auto& item : FItems)
                column.Widest =
                    std::max(column.Widest, measure.Width(ToWide(CellText(*item, int(i)))));
        }
        for (const auto& [shown, text] : FUnmeasured)
            if (shown == int(i))
                column.Widest = std::max(column.Widest, measure.Width(ToWide(text)));
        const int fitted = TextLead(i) + column.Widest + CellPadding;
        const int width =
            std::clamp(fitted, column.Width, std::max(column.Width, ClientWidth() / 2));
        SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, i, width);
    }
    FUnmeasured.clear();
    FRemeasure = false;
    SetColumnWidths();
}

// What comes before the text in a cell of the column: the check box and the image.
int TListView::TextLead(size_t column) const {
    if (column != 0) return 0;
    int lead = 0;
    for (int list : {LVSIL_STATE, LVSIL_SMALL}) {
        int width = 0, height = 0;
        const auto images = reinterpret_cast<HIMAGELIST>(
            SendMessageW(HandleIfAllocated(), LVM_GETIMAGELIST, list, 0));
        if (images && ImageList_GetIconSize(images, &width, &height)) lead += width;
    }
    return lead;
}

void TListView::SetColumnWidths() {
    for (size_t i = 0; i < FColumns.size(); ++i) {
        if (FColumns[i].Width != FillWidth) continue;
        int rest = ClientWidth() - GetSystemMetrics(SM_CXVSCROLL);
        for (size_t j = 0; j < FColumns.size(); ++j)
            if (j != i) rest -= static_cast<int>(SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, j, 0));
        SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, i, std::max(rest, 50));
    }
}

UINT TListView::FitColumnsMessage() {
    static const UINT message = RegisterWindowMessageW(L"TListView.FitColumns");
    return message;
}
