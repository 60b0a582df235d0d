#include "classlib/gui/CheckListBox.h"
#include "classlib/base/SysUtils.h"
#include <windowsx.h>

namespace {

constexpr int ItemHeight = 16, BoxWidth = 16;

} // namespace

// An item's check is kept as its object: non-null when checked, so it goes with the
// item when items are inserted or deleted.
bool TCheckListBox::Checked(int index) const {
    return const_cast<TCheckListBox*>(this)->Items().Objects(index) != nullptr;
}

void TCheckListBox::SetChecked(int index, bool value) {
    Items().SetObject(index, value ? this : nullptr);
    if (HandleAllocated()) Invalidate();
}

void TCheckListBox::CreateParams(TCreateParams& params) {
    TListBox::CreateParams(params);
    params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
}

void TCheckListBox::InitializeWnd() {
    TListBox::InitializeWnd();
    SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, ItemHeight);
}

void TCheckListBox::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
        message.Result = TRUE;
        return;
    case WM_LBUTTONDOWN:
        if (GET_X_LPARAM(message.LParam) < BoxWidth) {
            const LRESULT hit = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, message.LParam);
            if (HIWORD(hit) == 0) Toggle(LOWORD(hit));
        }
        break;
    case WM_CHAR:
        if (message.WParam == VK_SPACE && ItemIndex() >= 0) return Toggle(ItemIndex());
        break;
    default: break;
    }
    TListBox::WndProc(message);
}

void TCheckListBox::Toggle(int index) {
    if (index < 0 || index >= Items().Count()) return;
    SetChecked(index, !Checked(index));
    if (OnClickCheck) OnClickCheck(this);
}

void TCheckListBox::DrawItem(const DRAWITEMSTRUCT& draw) {
    if (draw.itemID == UINT(-1) || int(draw.itemID) >= Items().Count()) return;
    const bool selected = draw.itemState & ODS_SELECTED;
    FillRect(draw.hDC, &draw.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    RECT box{draw.rcItem.left + 1, draw.rcItem.top + 1, draw.rcItem.left + BoxWidth - 1,
             draw.rcItem.bottom - 1};
    DrawFrameControl(draw.hDC, &box, DFC_BUTTON,
                     DFCS_BUTTONCHECK | DFCS_FLAT | (Checked(draw.itemID) ? DFCS_CHECKED : 0));
    RECT text = draw.rcItem;
    text.left += BoxWidth + 2;
    SetBkMode(draw.hDC, TRANSPARENT);
    SetTextColor(draw.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::wstring caption = ToWide(Items()[draw.itemID]);
    DrawTextW(draw.hDC, caption.c_str(), int(caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (draw.itemState & ODS_FOCUS) DrawFocusRect(draw.hDC, &draw.rcItem);
}
