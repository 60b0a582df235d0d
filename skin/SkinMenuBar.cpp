#include "skin/SkinMenuBar.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/MainMenu.h"
#include "skin/SkinData.h"
#include "skin/SkinManage.h"
#include "skin/SkinMenuItem.h"

namespace {

TSkinMenu* TrackingBar = nullptr; // the bar whose menu is open

TFontHandle MenuBarFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return TFontHandle(CreateFontIndirectW(&metrics.lfMenuFont));
}

} // namespace

void TidySeparators(TMenuItem& item) {
    TMenuItem* pending = nullptr; // the last separator since the last item shown
    bool itemBefore = false;
    for (int i = 0; i < item.Count(); ++i) {
        TMenuItem* child = item.Items(i);
        if (child->IsLine()) {
            if (pending) pending->SetVisible(false);
            pending = child;
        } else if (child->Visible()) {
            if (pending) pending->SetVisible(itemBefore);
            pending = nullptr;
            itemBefore = true;
        }
    }
    if (pending) pending->SetVisible(false);
}

TSkinMenu::~TSkinMenu() {
    if (TrackingBar == this) TrackingBar = nullptr;
}

void TSkinMenu::Build(HMENU menu) {
    FMenu = menu;
    FButtons.clear();
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[80] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 79;
        if (!GetMenuItemInfoW(menu, i, TRUE, &info)) continue;
        auto button = std::make_unique<TMenuBtn>(FForm, *this);
        button->Caption = ToUtf8(text);
        button->ItemEnabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
        button->Submenu = info.hSubMenu;
        button->Id = info.wID;
        if (TMenuItem* item = FMainMenu ? FMainMenu->FindItem(info.wID) : nullptr) {
            button->Caption = item->Caption();
            button->ItemEnabled = item->Enabled();
            button->Item = item;
            button->Submenu = item->Count() > 0 ? item->Handle() : nullptr;
        }
        FButtons.push_back(std::move(button));
    }
    SetMenu(FForm.Handle, nullptr);
}

void TSkinMenu::DrawMenusNatively() {
    for (auto& button : FButtons)
        if (button->Submenu) SetMenuOwnerDrawn(button->Submenu, false);
}

void TSkinMenu::PaintCaption(HDC dc, const TMenuBtn& button, const RECT& r) const {
    const TSkinColours& colours = FData.Colours();
    SetTextColor(dc, ColorToRGB(button.ItemEnabled ? colours.MenuBarText : colours.ButtonShadow));
    DrawSkinText(dc, r, button.Caption, taCenter, true);
}

void TSkinMenu::Paint(HDC dc, const RECT& bar) {
    FOffscreen.Paint(dc, bar, [&](HDC f, const RECT& all) {
        const int w = all.right, h = all.bottom;
        int x = 6;
        if (TDataSkinObject* e = FData.Elements().MenuBar.get()) {
            const int frame = FForm.Active() ? 1 : 2;
            if (e->Tile)
                DrawSkinRect(f, all, e->Bitmap, true, false, false, 2, frame, e->Margins());
            else
                DrawSkinStrip(f, all, e->Bitmap, true, false, 2, frame, e->Margins());
            x = FForm.RightToLeft() ? e->RightWidth + 8 : e->LeftWidth + 4;
            if (w < x) x = 12;
        } else {
            TBrushHandle brush(CreateSolidBrush(ColorToRGB(FData.Colours().Menubar)));
            FillRect(f, &all, brush.Get());
        }
        BarRect = bar;
        Background.SetSize(w, h);
        BitBlt(Background.Canvas().Handle(), 0, 0, w, h, f, 0, 0, SRCCOPY);
        TFontHandle font = MenuBarFont();
        TSelectScope select(f, font.Get());
        for (auto& button : FButtons) {
            RECT size{0, 0, 0, 0};
            SkinDrawText(f, button->Caption, size, DT_SINGLELINE | DT_CALCRECT);
            const int bw = button->Caption.empty() ? 0 : size.right + 10;
            // A right-to-left bar is laid from its right edge leftwards.
            const int left = FForm.RightToLeft() ? w - x - bw : x;
            PaintCaption(f, *button, {left, 0, left + bw, h - 1});
            button->Rect = {bar.left + left, bar.top, bar.left + left + bw, bar.bottom - 1};
            x += bw;
        }
        PaintMDIButtons(f, bar);
    });
}

// An MDI frame with a maximized child shows the child's caption buttons in its bar.
void TSkinMenu::PaintMDIButtons(HDC dc, const RECT& bar) {
    if (FForm.MDIRole() != TMDIRole::Frame || !FForm.MDIChildMaximized()) return;
    for (const auto& button : FForm.Caption().Buttons()) {
        TDataSkinSysButton& e = button->Element;
        if (button->Align() != TCaptionAlign::MenuBar || !button->Laid() || e.Bitmap.Empty())
            continue;
        RECT r = button->Rect;
        OffsetRect(&r, -bar.left, -bar.top);
        DrawSkinFrame(dc, r, e.Bitmap, true, e.FrameCount, 1);
    }
    if (TSkinManage* manager = SkinManager()) manager->SetMDIMaximized(true);
}

void TMenuBtn::Paint() {
    TBitmap& back = FBar.Background;
    if (back.Empty()) return;
    TWholeWindowDC dc(FOwner.Handle);
    FBar.FOffscreen.Paint(dc.Get(), Rect, [&](HDC f, const RECT& all) {
        BitBlt(f, 0, 0, all.right, all.bottom, back.Canvas().Handle(),
               Rect.left - FBar.BarRect.left, Rect.top - FBar.BarRect.top, SRCCOPY);
        if (State != TNCState::Normal) {
            TBrushHandle brush(CreateSolidBrush(ColorToRGB(FBar.FData.Colours().ButtonHilight)));
            FrameRect(f, &all, brush.Get());
        }
        TFontHandle font = MenuBarFont();
        TSelectScope select(f, font.Get());
        FBar.PaintCaption(f, *this, all);
    });
}

TMenuBtn* TSkinMenu::ButtonAt(POINT p) const {
    for (auto& button : FButtons)
        if (!button->Caption.empty() && PtInRect(&button->Rect, p)) return button.get();
    return nullptr;
}

int TSkinMenu::IndexOfKey(wchar_t key) const {
    for (int i = 0; i < Count(); ++i) {
        const TMenuBtn& b = *FButtons[i];
        if (b.Enabled && b.ItemEnabled && (key == 0 || IsAccel(key, b.Caption))) return i;
    }
    return -1;
}

bool TSkinMenu::OpenByKey(wchar_t key) {
    const int index = IndexOfKey(key);
    if (index < 0) return false;
    Track(index);
    return true;
}

void TSkinMenu::Clicked(TNCObject* object) {
    for (int i = 0; i < Count(); ++i)
        if (FButtons[i].get() == object) return Track(i);
}

// One menu at a time: a switch to another button ends the open menu, and the next
// one opens here, after TrackPopupMenu has returned.
void TSkinMenu::Track(int index) {
    if (TrackingBar) return;
    for (int next = index; next >= 0;) {
        FPending = -1;
        TrackOne(next);
        next = FPending;
    }
}

void TSkinMenu::TrackOne(int index) {
    // The item's own command comes first: what it changes in its submenu shows there.
    PostMessageW(FForm.Handle, WM_COMMAND, FButtons[index]->Id, 0);
    if (!FButtons[index]->Submenu) return;
    MSG command;
    if (PeekMessageW(&command, FForm.Handle, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        DispatchMessageW(&command);
    if (index >= Count()) return; // the command changed the menu
    TMenuBtn& button = *FButtons[index];
    FTracked = index;
    FSelectedMenu = nullptr;
    FSelectedFlags = 0;
    FFirstKey = true;
    GetCursorPos(&FLastMouse);
    TrackingBar = this;
    FForm.SetMenuTracking(true);
    button.State = TNCState::Down;
    button.Paint();
    if (TSkinManage* manager = SkinManager()) manager->MenuKind = TMenuKind::Main;
    RECT window;
    GetWindowRect(FForm.Handle, &window);
    if (button.Item && FMainMenu) {
        TidySeparators(*button.Item);
        FMainMenu->RebuildItem(*button.Item);
    }
    SetMenuOwnerDrawn(button.Submenu, true);
    FHook.Reset(SetWindowsHookExW(WH_MSGFILTER, MsgFilter, nullptr, GetCurrentThreadId()));
    const bool rightToLeft = FForm.RightToLeft();
    if (button.ItemEnabled)
        TrackPopupMenu(button.Submenu,
                       TPM_RIGHTBUTTON | (rightToLeft ? TPM_RIGHTALIGN : TPM_LEFTALIGN),
                       window.left + (rightToLeft ? button.Rect.right : button.Rect.left),
                       window.top + button.Rect.bottom, 0, FForm.Handle, nullptr);
    FHook.Reset();
    TrackingBar = nullptr;
    FForm.SetMenuTracking(false);
    FTracked = -1;
    button.State = TNCState::Normal;
    button.Paint();
    if (FForm.Hot() == &button) FForm.SetHot(nullptr);
}

void TSkinMenu::MenuSelect(WPARAM wParam, LPARAM lParam) {
    if (TrackingBar != this) return;
    const UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && !lParam) return; // the menu closed
    FSelectedMenu = reinterpret_cast<HMENU>(lParam);
    FSelectedFlags = flags;
}

void TSkinMenu::SwitchTo(int index) {
    if (index == FTracked) return;
    FPending = index;
    EndMenu();
}

LRESULT CALLBACK TSkinMenu::MsgFilter(int code, WPARAM wParam, LPARAM lParam) {
    const LRESULT next = CallNextHookEx(nullptr, code, wParam, lParam);
    if (next || code != MSGF_MENU || !TrackingBar) return next;
    return TrackingBar->Filter(*reinterpret_cast<MSG*>(lParam)) ? 1 : 0;
}

// True when the message is taken from the menu.
bool TSkinMenu::Filter(MSG& msg) {
    if (FFirstKey) {
        FFirstKey = false;
        PostMessageW(msg.hwnd, WM_KEYDOWN, VK_DOWN, 0); // the first item is selected
    }
    const int count = Count();
    if (FForm.RightToLeft() && msg.message == WM_KEYDOWN &&
        (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT))
        msg.wParam = msg.wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RIGHT) {
        if (FSelectedFlags & MF_POPUP) return false; // the item's submenu opens
        SwitchTo((FTracked + 1) % count);
        return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_LEFT) {
        const HMENU tracked = FButtons[FTracked]->Submenu;
        if (FSelectedMenu && FSelectedMenu != tracked) return false; // an inner menu closes
        SwitchTo((FTracked + count - 1) % count);
        return true;
    }
    if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_MENU) FPending = -1;
    if (msg.message == WM_MOUSEMOVE && (msg.pt.x != FLastMouse.x || msg.pt.y != FLastMouse.y)) {
        FLastMouse = msg.pt;
        RECT window;
        GetWindowRect(FForm.Handle, &window);
        const POINT p{msg.pt.x - window.left, msg.pt.y - window.top};
        for (int i = 0; i < count; ++i)
            if (FButtons[i].get() == ButtonAt(p) && FButtons[i]->ItemEnabled) SwitchTo(i);
    }
    return false;
}
