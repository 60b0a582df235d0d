// Skinned window scroll bars, list-view headers and tab controls on the screen: the
// overlays paint the host's bars (arrows included), follow the host and go with it; the
// host still scrolls, and tabs still switch, as natively.
#include "SkinnedGauges.h"
#include "classlib/gui/ListBox.h"
#include "classlib/gui/ListView.h"
#include "classlib/gui/Memo.h"
#include "classlib/gui/PageControl.h"
#include "classlib/gui/TabSet.h"
#include "skin/SkinMessages.h"
#include <commctrl.h>

using namespace gauges;
using SkinnedScrollBars = TSkinnedGaugeTest;

namespace {

RECT Bar(HWND host, LONG which) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    GetScrollBarInfo(host, which, &info);
    return info.rcScrollBar;
}

TMemo* LongMemo(TForm& form) {
    auto memo = new TMemo(&form);
    memo->SetParent(&form);
    memo->SetBounds(10, 10, 200, 150);
    memo->SetScrollBars(ssBoth);
    std::string text;
    for (int i = 0; i < 15; ++i) {
        text += std::to_string(i);
        text.append(80, 'x');
        text += "\r\n";
    }
    memo->Lines().SetText(text);
    return memo;
}

} // namespace

TEST_F(SkinnedScrollBars, PaintArrowsTrackAndThumbAndLeaveScrollingToTheHost) {
    HWND wnd = LongMemo(*Form)->Handle();
    Skin();
    const RECT v = Bar(wnd, OBJID_VSCROLL), h = Bar(wnd, OBJID_HSCROLL);
    const int vx = (v.left + v.right) / 2, hy = (h.top + h.bottom) / 2;
    EXPECT_EQ(ScreenPixel(vx, v.top + 3), Arrow(9));
    EXPECT_EQ(ScreenPixel(vx, v.bottom - 3), Arrow(13));
    EXPECT_EQ(ScreenPixel(vx, v.bottom - 20), VertTrack[0]);
    EXPECT_EQ(ScreenPixel(vx, v.top + 20), VertThumb[0]);
    EXPECT_EQ(ScreenPixel(h.left + 3, hy), Arrow(1));
    EXPECT_EQ(ScreenPixel(h.right - 3, hy), Arrow(5));
    EXPECT_EQ(ScreenPixel(v.left + 2, h.top + 2), solid::Face); // the square between them

    // A press on the skinned down arrow runs the host's own scroll loop: one line.
    HWND overlay = WindowFromPoint({vx, v.bottom - 3});
    ASSERT_NE(overlay, wnd);
    POINT at{vx, v.bottom - 3};
    ScreenToClient(overlay, &at);
    PostMessageW(wnd, WM_LBUTTONUP, 0, 0);
    SendMessageW(overlay, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(SendMessageW(wnd, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
    SendMessageW(wnd, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(Awaited(Form->Handle(), 0, 0, solid::Face), solid::Face);
    EXPECT_EQ(ScreenPixel(vx, v.bottom - 20), VertThumb[0]);
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    EXPECT_EQ(ScreenPixel(vx, v.top + arrow + 2), VertTrack[0]);
}

TEST_F(SkinnedScrollBars, ASimpleComboBoxsListGetsSkinnedBarsThatStillScrollIt) {
    auto combo = Add<TComboBox>(10, 10, 150, 150);
    combo->SetStyle(csSimple);
    for (int i = 0; i < 40; ++i)
        combo->Items().Add("Item " + std::to_string(i));
    Skin();
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    HWND list = info.hwndList;
    const RECT v = Bar(list, OBJID_VSCROLL);
    ASSERT_GT(v.bottom - v.top, 40);
    const int vx = (v.left + v.right) / 2;
    EXPECT_EQ(ScreenPixelSoon(vx, v.top + 3, Arrow(9)), Arrow(9));
    EXPECT_EQ(ScreenPixel(vx, v.bottom - 3), Arrow(13));
    EXPECT_EQ(ScreenPixel(vx, v.bottom - 20), VertTrack[0]);

    SendMessageW(list, WM_VSCROLL, SB_BOTTOM, 0); // the thumb follows the list
    EXPECT_EQ(ScreenPixelSoon(vx, v.bottom - 20, VertThumb[0]), VertThumb[0]);
    Skinned.reset(); // unskinned: the native bar again
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(vx, v.top + 3) != Arrow(9); }));
}

TEST_F(SkinnedScrollBars, FollowTheHostAndGoWithIt) {
    TMemo* memo = LongMemo(*Form);
    Skin();
    memo->SetBounds(60, 30, 200, 150);
    RECT v = Bar(memo->Handle(), OBJID_VSCROLL);
    const int vx = (v.left + v.right) / 2;
    EXPECT_EQ(Awaited(Form->Handle(), 0, 0, solid::Face), solid::Face);
    EXPECT_EQ(ScreenPixel(vx, v.top + 3), Arrow(9));
    memo->Hide();
    SettleScreen();
    EXPECT_EQ(ScreenPixel(vx, v.top + 3), solid::Face);
    memo->Show();
    SettleScreen();
    EXPECT_EQ(ScreenPixel(vx, v.top + 3), Arrow(9));
    memo->Perform(CM_RECREATEWND, 0, 0); // the wrapper and its overlays take the new window
    EXPECT_NE(WindowFromPoint({vx, v.top + 3}), memo->Handle());
    memo->DestroyHandle(); // the window goes, the control stays
    SettleScreen();
    EXPECT_EQ(ScreenPixel(vx, v.top + 3), solid::Face);
    EXPECT_EQ(ScreenPixel(vx, v.bottom - 3), solid::Face);
}

TEST_F(SkinnedScrollBars, StayNativeWithoutTheSkinsArrows) {
    HWND wnd = LongMemo(*Form)->Handle();
    Skin(0, false);
    const RECT v = Bar(wnd, OBJID_VSCROLL);
    EXPECT_EQ(WindowFromPoint({(v.left + v.right) / 2, v.top + 3}), wnd);
    EXPECT_NE(ScreenPixel((v.left + v.right) / 2, v.top + 20), solid::Face);
}

TEST_F(SkinnedScrollBars, ListViewHeaderAndBarsAreSkinned) {
    auto view = Add<TListView>(10, 10, 300, 150);
    view->AddColumn("Name", 100);
    view->AddColumn("Size", 80);
    for (int i = 0; i < 40; ++i)
        view->AddItem()->SetCaption("Row " + std::to_string(i));
    Skin();
    auto header = reinterpret_cast<HWND>(SendMessageW(view->Handle(), LVM_GETHEADER, 0, 0));
    RECT first, second;
    SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    EXPECT_EQ(At(header, first.left + 2, first.top + 2), Header);
    EXPECT_EQ(At(header, second.right + 10, second.top + 2), Header);
    const RECT v = Bar(view->Handle(), OBJID_VSCROLL);
    EXPECT_EQ(ScreenPixel((v.left + v.right) / 2, v.top + 3), Arrow(9));
}

using SkinnedTabs = TSkinnedGaugeTest;

TEST_F(SkinnedTabs, SelectedTabBorderAndSwitchingByClick) {
    auto pages = Add<TPageControl>(10, 10, 300, 200);
    for (const char* caption : {"One", "Two"}) {
        auto sheet = new TTabSheet(Form.get());
        sheet->SetPageControl(pages);
        sheet->SetCaption(caption);
    }
    Skin();
    HWND wnd = pages->Handle();
    RECT tab[2], display{0, 0, 300, 200};
    for (int i = 0; i < 2; ++i)
        SendMessageW(wnd, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&tab[i]));
    SendMessageW(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_EQ(At(wnd, tab[0].left + 2, tab[0].top + 3), Tab[1]);
    EXPECT_EQ(At(wnd, tab[1].left + 2, tab[1].top + 3), Tab[0]);
    EXPECT_EQ(At(wnd, tab[0].right + 1, tab[0].top + 3), Tab[1]); // wider over its neighbour
    EXPECT_EQ(At(wnd, display.left - 2, (display.top + display.bottom) / 2), TabBorder);

    const LPARAM onSecond = MAKELPARAM(tab[1].left + 5, tab[1].top + 5);
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, onSecond);
    SendMessageW(wnd, WM_LBUTTONUP, 0, onSecond);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    SendMessageW(wnd, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab[1]));
    EXPECT_EQ(Awaited(wnd, tab[1].left + 2, tab[1].top + 3, Tab[1]), Tab[1]);
    EXPECT_EQ(At(wnd, tab[0].left + 2, tab[0].top + 3), Tab[0]);
}

// Bare tab windows, skinned by the window-class factory: bottom tabs are drawn from the
// flipped picture, left and right ones lying and turned into place.
TEST_F(SkinnedTabs, EveryTabPositionShowsTheSelectedFrame) {
    Skin();
    for (DWORD position :
         {DWORD(TCS_BOTTOM), DWORD(TCS_VERTICAL), DWORD(TCS_VERTICAL | TCS_BOTTOM)}) {
        HWND wnd = CreateWindowExW(
            0, WC_TABCONTROLW, L"",
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_MULTILINE | position, 10, 10, 300, 200,
            Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
        for (const wchar_t* caption : {L"One", L"Two"}) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(caption);
            SendMessageW(wnd, TCM_INSERTITEMW, 9, reinterpret_cast<LPARAM>(&item));
        }
        SendMessageW(wnd, TCM_SETCURSEL, 1, 0);
        SkinChildWindow(*Skinned, wnd);
        RECT tab[2];
        for (int i = 0; i < 2; ++i)
            SendMessageW(wnd, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&tab[i]));
        auto corner = [&](const RECT& r) { return POINT{r.left + 3, r.top + 3}; };
        const POINT selected = corner(tab[1]), other = corner(tab[0]);
        EXPECT_EQ(Awaited(wnd, selected.x, selected.y, Tab[1]), Tab[1]) << position;
        EXPECT_EQ(At(wnd, other.x, other.y), Tab[0]) << position;
        DestroyWindow(wnd);
    }
}

// A tab set's tabs hang from its top edge: the selected one in frame 2; a tab too wide
// for the room left is skipped, while a later narrower one still shows; a press selects.
TEST_F(SkinnedTabs, TabSetsShowTheSelectedFrameAndSkipATabThatDoesNotFit) {
    auto tabSet = Add<TTabSet>(10, 10, 200, 21);
    tabSet->SetTabs({"One", "Two", std::string(60, 'W'), "Six"});
    tabSet->SetTabIndex(0);
    int changes = 0;
    tabSet->OnChange = [&](TObject*) { ++changes; };
    Skin();
    HWND wnd = tabSet->Handle();
    ASSERT_EQ(SendMessageW(wnd, WM_SKINQUERY, 0, 0), 1);
    const RECT one = tabSet->TabRect(0), two = tabSet->TabRect(1), wide = tabSet->TabRect(2),
               six = tabSet->TabRect(3);
    EXPECT_TRUE(IsRectEmpty(&wide));
    ASSERT_FALSE(IsRectEmpty(&six));
    EXPECT_EQ(six.left, two.right);
    EXPECT_EQ(Awaited(wnd, one.left + 2, 2, Tab[1]), Tab[1]);
    EXPECT_EQ(At(wnd, two.left + 2, 2), Tab[0]);
    EXPECT_EQ(At(wnd, six.left + 2, 2), Tab[0]);
    EXPECT_EQ(At(wnd, six.right + 3, 2), solid::Face); // beyond the last tab

    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(six.left + 4, 5));
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(six.left + 4, 5));
    EXPECT_EQ(tabSet->TabIndex(), 3);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Awaited(wnd, six.left + 2, 2, Tab[1]), Tab[1]);
    EXPECT_EQ(At(wnd, one.left + 2, 2), Tab[0]);

    Skinned.reset(); // its own paint again
    EXPECT_TRUE(PumpUntil([&] { return At(wnd, six.left + 2, 2) != Tab[1]; }));
}
