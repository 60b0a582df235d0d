#include "classlib/base/SysUtils.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/JPEG.h"
#include "classlib/gui/ListView.h"
#include "classlib/gui/PageControl.h"
#include "support/PumpMessages.h"
#include <commctrl.h>
#include <cstdint>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

namespace {

// An 8x8 picture, red on the left half and blue on the right, made with cjpeg.
const unsigned char TwoColours[] = {
    0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x02, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02,
    0x01, 0x01, 0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0x04, 0x03, 0x02, 0x02, 0x02, 0x02, 0x05, 0x04,
    0x04, 0x03, 0x04, 0x06, 0x05, 0x06, 0x06, 0x06, 0x05, 0x06, 0x06, 0x06, 0x07, 0x09, 0x08, 0x06,
    0x07, 0x09, 0x07, 0x06, 0x06, 0x08, 0x0b, 0x08, 0x09, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x06, 0x08,
    0x0b, 0x0c, 0x0b, 0x0a, 0x0c, 0x09, 0x0a, 0x0a, 0x0a, 0xff, 0xdb, 0x00, 0x43, 0x01, 0x02, 0x02,
    0x02, 0x02, 0x02, 0x02, 0x05, 0x03, 0x03, 0x05, 0x0a, 0x07, 0x06, 0x07, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0xff, 0xc0,
    0x00, 0x11, 0x08, 0x00, 0x08, 0x00, 0x08, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xff, 0xc4, 0x00, 0x1f, 0x00, 0x00, 0x01, 0x05, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09,
    0x0a, 0x0b, 0xff, 0xc4, 0x00, 0xb5, 0x10, 0x00, 0x02, 0x01, 0x03, 0x03, 0x02, 0x04, 0x03, 0x05,
    0x05, 0x04, 0x04, 0x00, 0x00, 0x01, 0x7d, 0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21,
    0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23,
    0x42, 0xb1, 0xc1, 0x15, 0x52, 0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0a, 0x16, 0x17,
    0x18, 0x19, 0x1a, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a,
    0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a,
    0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
    0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
    0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7,
    0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5,
    0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf1,
    0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa, 0xff, 0xc4, 0x00, 0x1f, 0x01, 0x00, 0x03,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
    0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a, 0x0b, 0xff, 0xc4, 0x00, 0xb5, 0x11, 0x00,
    0x02, 0x01, 0x02, 0x04, 0x04, 0x03, 0x04, 0x07, 0x05, 0x04, 0x04, 0x00, 0x01, 0x02, 0x77, 0x00,
    0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13,
    0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33, 0x52, 0xf0, 0x15,
    0x62, 0x72, 0xd1, 0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18, 0x19, 0x1a, 0x26, 0x27,
    0x28, 0x29, 0x2a, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49,
    0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69,
    0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88,
    0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6,
    0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4,
    0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe2,
    0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9,
    0xfa, 0xff, 0xda, 0x00, 0x0c, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3f, 0x00, 0xfc,
    0xd1, 0xfd, 0xaa, 0xbf, 0xe6, 0x03, 0xff, 0x00, 0x6f, 0x5f, 0xfb, 0x46, 0xbf, 0xaa, 0x3f, 0x66,
    0x5f, 0xfc, 0xd5, 0x7f, 0xf7, 0x23, 0xff, 0x00, 0xbb, 0x87, 0xf6, 0xa7, 0xed, 0x0c, 0xff, 0x00,
    0x9a, 0x67, 0xfe, 0xe7, 0x7f, 0xf7, 0x50, 0xff, 0xd9};

uint32_t Red(uint32_t pixel) {
    return (pixel >> 16) & 0xFF;
}
uint32_t Blue(uint32_t pixel) {
    return pixel & 0xFF;
}

TEST(JPEGImage, DecodesIntoTheBitmap) {
    TJPEGImage jpeg;
    jpeg.LoadFromMemory(TwoColours, sizeof(TwoColours));
    ASSERT_EQ(jpeg.Width(), 8);
    ASSERT_EQ(jpeg.Height(), 8);
    uint32_t left = jpeg.Bitmap().ScanLine(4)[0], right = jpeg.Bitmap().ScanLine(4)[7];
    EXPECT_GT(Red(left), 200u);
    EXPECT_LT(Blue(left), 60u);
    EXPECT_GT(Blue(right), 200u);
    EXPECT_LT(Red(right), 60u);
}

TEST(JPEGImage, BrokenDataRaiseAndKeepThePicture) {
    TJPEGImage jpeg;
    jpeg.LoadFromMemory(TwoColours, sizeof(TwoColours));
    const unsigned char text[] = "not a picture at all";
    EXPECT_THROW(jpeg.LoadFromMemory(text, sizeof(text)), EInvalidGraphic);
    EXPECT_THROW(jpeg.LoadFromMemory(TwoColours, 40), EInvalidGraphic); // cut in its header
    EXPECT_THROW(jpeg.LoadFromMemory(nullptr, 0), EInvalidGraphic);
    EXPECT_EQ(jpeg.Width(), 8);
    EXPECT_THROW(jpeg.LoadFromResource("NO_SUCH_PICTURE"), EResNotFound);
}

class ComCtrls : public testing::Test {
protected:
    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Form->HandleNeeded();
    }
    template <class T> T* Make() {
        auto control = new T(Form.get());
        control->SetParent(Form.get());
        return control;
    }
    std::unique_ptr<TForm> Form;
};

TEST_F(ComCtrls, PageControlShowsOneSheetAndSkipsHiddenTabs) {
    auto pages = Make<TPageControl>();
    TTabSheet* sheets[3];
    for (auto& sheet : sheets) {
        sheet = new TTabSheet(Form.get());
        sheet->SetPageControl(pages);
    }
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    pages->SetActivePageIndex(1);
    EXPECT_TRUE(sheets[1]->Visible());
    EXPECT_FALSE(sheets[0]->Visible());
    sheets[1]->SetTabVisible(false); // the active tab hidden: the next one that shows
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    for (auto& sheet : sheets)
        sheet->SetTabVisible(false);
    pages->SetActivePage(sheets[1]); // without tabs only code switches
    EXPECT_EQ(pages->ActivePage(), sheets[1]);
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 0);
    delete sheets[1];
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
}

TEST_F(ComCtrls, ListViewReportsCaptionsAndChecks) {
    auto list = Make<TListView>();
    list->SetCheckboxes(true);
    list->AddColumn("Cookie", 200);
    list->AddColumn("Status", 80);
    std::vector<std::pair<std::string, bool>> changes;
    list->OnChange = [&](TObject*, TListItem* item) {
        changes.push_back({item->Caption(), item->Checked()});
    };
    TListItem* item = list->AddItem();
    EXPECT_TRUE(changes.empty());
    item->SetChecked(true);
    item->SetCaption("a.txt");
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1], std::make_pair(std::string("a.txt"), true));
    // A click on the box changes the window's state image first.
    LVITEMA state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(1);
    SendMessageA(list->Handle(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    EXPECT_FALSE(item->Checked());
    ASSERT_EQ(changes.size(), 3u);
    item->AddSubItem("Keep");
    char text[32] = {};
    LVITEMA read{};
    read.iSubItem = 1;
    read.pszText = text;
    read.cchTextMax = sizeof(text);
    SendMessageA(list->Handle(), LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&read));
    EXPECT_STREQ(text, "Keep");
    EXPECT_EQ(changes.size(), 3u);
    list->Clear();
    EXPECT_EQ(SendMessageA(list->Handle(), LVM_GETITEMCOUNT, 0, 0), 0);
}

// Rows inserted, deleted and sorted: each knows its place, and what is set on it later
// shows on its own row of the window.
TEST_F(ComCtrls, ListViewRowsKeepTheirPlaceThroughInsertsDeletesAndSorting) {
    auto list = Make<TListView>();
    list->SetCheckboxes(true);
    list->AddColumn("Name", 100);
    list->AddColumn("Size", 60);
    auto windowText = [&](int row, int column) {
        char text[32] = {};
        LVITEMA read{};
        read.iSubItem = column;
        read.pszText = text;
        read.cchTextMax = sizeof(text);
        SendMessageA(list->Handle(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&read));
        return std::string(text);
    };
    auto check = [&] {
        ASSERT_EQ(SendMessageA(list->Handle(), LVM_GETITEMCOUNT, 0, 0), list->Count());
        for (int row = 0; row < list->Count(); ++row) {
            EXPECT_EQ(list->Items(row)->Index(), row);
            EXPECT_EQ(windowText(row, 0), list->Items(row)->Caption());
            EXPECT_EQ(windowText(row, 1), list->Items(row)->SubItems().at(0));
            const bool checked = SendMessageA(list->Handle(), LVM_GETITEMSTATE, row,
                                              LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
            EXPECT_EQ(checked, list->Items(row)->Checked()) << row;
        }
    };
    for (const char* name : {"delta", "bravo"})
        list->AddItem()->SetCaption(name);
    TListItem* alpha = list->InsertItem(0);
    TListItem* charlie = list->InsertItem(2);
    TListItem* last = list->InsertItem(99); // past the end: the last row
    alpha->SetCaption("alpha");
    charlie->SetCaption("charlie");
    last->SetCaption("echo");
    for (int row = 0; row < list->Count(); ++row)
        list->Items(row)->AddSubItem(IntToStr(row));
    charlie->SetChecked(true);
    check();
    list->Delete(alpha->Index());
    list->Items(0)->SetChecked(true);
    check();
    list->SortByCaption();
    EXPECT_EQ(list->Items(0)->Caption(), "bravo");
    EXPECT_EQ(last->Index(), 3);
    last->SetSubItem(0, "last");
    check();
}

} // namespace

namespace {

// The selection follows the keyboard and code both ways.
TEST_F(ComCtrls, ListViewSelectionFollowsTheWindow) {
    auto list = Make<TListView>();
    list->AddColumn("Name", 100);
    list->SetRowSelect(true);
    std::vector<std::string> selected;
    list->OnSelectItem = [&](TObject*, TListItem* item, bool on) {
        if (on) selected.push_back(item->Caption());
    };
    for (const char* name : {"alpha", "beta", "gamma"})
        list->AddItem()->SetCaption(name);
    list->Items(0)->SetSelected(true);
    list->Items(0)->MakeFocused();
    HWND wnd = list->Handle();
    EXPECT_EQ(SendMessageA(wnd, LVM_GETNEXTITEM, -1, LVNI_SELECTED), 0);
    SendMessageA(wnd, WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_NE(list->Selected(), nullptr);
    EXPECT_EQ(list->Selected()->Caption(), "beta");
    EXPECT_FALSE(list->Items(0)->Selected());
    SendMessageA(wnd, WM_KEYDOWN, VK_END, 0);
    ASSERT_NE(list->Selected(), nullptr);
    EXPECT_EQ(list->Selected()->Caption(), "gamma");
    EXPECT_EQ(selected, (std::vector<std::string>{"alpha", "beta", "gamma"}));
    list->Delete(list->Selected()->Index());
    EXPECT_EQ(list->Selected(), nullptr);
    EXPECT_EQ(SendMessageA(wnd, LVM_GETITEMCOUNT, 0, 0), 2);
    SendMessageA(wnd, WM_KEYDOWN, VK_END, 0); // the window kept no selection either
    ASSERT_NE(list->Selected(), nullptr);
    EXPECT_EQ(list->Selected()->Caption(), "beta");
}

// The texts a list view asked for while it painted, by row and column.
std::map<std::pair<int, int>, std::wstring> Drawn;

LRESULT CALLBACK CatchDrawnText(int code, WPARAM wParam, LPARAM lParam) {
    auto call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_NOTIFY) {
        auto info = reinterpret_cast<const NMLVDISPINFOW*>(call->lParam);
        if (info->hdr.code == LVN_GETDISPINFOW && (info->item.mask & LVIF_TEXT))
            Drawn[{info->item.iItem, info->item.iSubItem}] = info->item.pszText;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Paints the list into a bitmap; returns the colour at (x, y) of its client area.
COLORREF PaintList(HWND list, POINT at) {
    RECT client;
    GetClientRect(list, &client);
    HDC dc = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROCRET, CatchDrawnText, nullptr, GetCurrentThreadId());
    SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    UnhookWindowsHookEx(hook);
    const COLORREF colour = GetPixel(dc, at.x, at.y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return colour;
}

RECT CellRect(HWND list, int row, int column) {
    RECT cell{LVIR_BOUNDS, column, 0, 0};
    SendMessageW(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    return cell;
}

std::string WindowCellText(HWND list, int row, int column) {
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return ToUtf8(text);
}

// Rows of long paths that differ only in their file names, as a junk list shows them.
TEST_F(ComCtrls, ListViewCellsKeepFileNamesAndTheSelectionInSight) {
    auto list = Make<TListView>();
    list->SetBounds(0, 0, 380, 200);
    list->SetRowSelect(true);
    list->AddColumn("Name", 40, TListView::ckName);
    list->AddColumn("Path", TListView::FillWidth, TListView::ckPath);
    const std::string folder = "c:\\junktest\\application data\\working files of the week\\";
    for (const char* name : {"working file 1.tmp", "working file 2.tmp", "x"}) {
        TListItem* row = list->AddItem();
        row->SetCaption(name);
        row->AddSubItem(folder + name);
    }
    HWND wnd = list->Handle();
    ASSERT_TRUE(PumpUntil([&] { return SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 0, 0) > 40; }));
    const int nameWidth = int(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 0, 0));
    EXPECT_GT(nameWidth, int(SendMessageW(wnd, LVM_GETSTRINGWIDTHW, 0,
                                          reinterpret_cast<LPARAM>(L"working file 1.tmp"))));
    EXPECT_LE(nameWidth, list->ClientWidth() / 2);
    EXPECT_LE(nameWidth + SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 1, 0), list->ClientWidth());

    // Cut in the middle for the paint only: the window gives out the whole path.
    Drawn.clear();
    PaintList(wnd, {0, 0});
    for (int row : {0, 1}) {
        const std::wstring drawn = Drawn[{row, 1}];
        const std::wstring name = row ? L"working file 2.tmp" : L"working file 1.tmp";
        EXPECT_NE(drawn.find(L"..."), std::wstring::npos) << ToUtf8(drawn);
        EXPECT_EQ(drawn.substr(drawn.size() - std::min(drawn.size(), name.size())), name);
        EXPECT_EQ(WindowCellText(wnd, row, 1), folder + ToUtf8(name));
    }
    EXPECT_EQ(list->Items(0)->SubItems()[0], folder + "working file 1.tmp");

    // The pointer moved onto a cut cell shows its whole text; onto one that shows all,
    // nothing. Rows changing under a pointer that stays change no hint.
    auto pointAt = [&](int row, int column) {
        const RECT cell = CellRect(wnd, row, column);
        for (int x : {cell.left + 4, cell.left + 5})
            SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, (cell.top + cell.bottom) / 2));
    };
    pointAt(1, 1);
    EXPECT_TRUE(list->ShowHint());
    EXPECT_EQ(list->Hint(), folder + "working file 2.tmp");
    pointAt(2, 0);
    EXPECT_FALSE(list->ShowHint());
    pointAt(0, 1);
    EXPECT_EQ(list->Hint(), folder + "working file 1.tmp");
    list->Items(0)->SetSubItem(0, "c:\\short"); // the text under the pointer changes
    EXPECT_EQ(list->Hint(), "");
    SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
    const RECT second = CellRect(wnd, 1, 1);
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(second.left + 5, second.top + 2));
    EXPECT_EQ(list->Hint(), "");
    pointAt(1, 1);
    EXPECT_EQ(list->Hint(), folder + "working file 2.tmp");

    // A selected row is drawn in the selection colour, also while another window has
    // the focus.
    list->Items(1)->SetSelected(true);
    ASSERT_NE(GetFocus(), wnd);
    const RECT selected = CellRect(wnd, 1, 1), plain = CellRect(wnd, 2, 1);
    EXPECT_EQ(PaintList(wnd, {selected.right - 3, selected.bottom - 2}),
              GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(PaintList(wnd, {plain.right - 3, plain.bottom - 2}), GetSysColor(COLOR_WINDOW));
}

// A name column follows its longest text as rows come, are renamed and go; the text
// shows whole beside the check box.
TEST_F(ComCtrls, ListViewNameColumnFollowsItsLongestText) {
    auto list = Make<TListView>();
    list->SetBounds(0, 0, 600, 200);
    list->SetCheckboxes(true);
    list->AddColumn("Name", 40, TListView::ckName);
    list->AddColumn("Path", TListView::FillWidth, TListView::ckPath);
    HWND wnd = list->Handle();
    auto width = [&] { return int(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 0, 0)); };
    // Row 1's caption shows whole in its cell.
    auto showsWhole = [&](const wchar_t* text) {
        RECT label{LVIR_LABEL, 0, 0, 0};
        SendMessageW(wnd, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&label));
        return label.right - label.left >=
               SendMessageW(wnd, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text));
    };
    for (const char* name : {"a.txt", "a longer name than the others.txt", "b.txt"})
        list->AddItem()->SetCaption(name);
    ASSERT_TRUE(PumpUntil([&] { return width() > 40; }));
    const int wide = width();
    EXPECT_TRUE(showsWhole(L"a longer name than the others.txt"));
    EXPECT_LE(wide + SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 1, 0), list->ClientWidth());

    list->Delete(1);
    ASSERT_TRUE(PumpUntil([&] { return width() < wide; })) << width();
    const int narrow = width();
    EXPECT_TRUE(showsWhole(L"b.txt"));
    list->Items(1)->SetCaption("b, renamed to the longest name of them all.txt");
    EXPECT_TRUE(PumpUntil([&] { return width() > wide; })) << width();
    EXPECT_TRUE(showsWhole(L"b, renamed to the longest name of them all.txt"));
    list->Items(1)->SetCaption("b.txt");
    EXPECT_TRUE(PumpUntil([&] { return width() == narrow; })) << width();
}

} // namespace
