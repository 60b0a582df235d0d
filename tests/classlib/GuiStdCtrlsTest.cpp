#include "classlib/base/SysUtils.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/DateTimePicker.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/ListBox.h"
#include "classlib/gui/Memo.h"
#include "classlib/gui/PageControl.h"
#include "classlib/gui/Panel.h"
#include "classlib/gui/SpinEdit.h"
#include "classlib/gui/TypInfo.h"
#include "classlib/gui/UpDown.h"
#include "support/Clipboard.h"
#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

template <class T> T* Make(TWinControl* parent) {
    auto control = new T(parent);
    control->SetParent(parent);
    return control;
}

} // namespace

TEST(GuiStdCtrls, AlignedControlsShareTheClientArea) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto top = Make<TPanel>(&form);
    top->SetHeight(40);
    top->SetAlign(alTop);
    auto left = Make<TPanel>(&form);
    left->SetWidth(100);
    left->SetAlign(alLeft);
    auto client = Make<TPanel>(&form);
    client->SetAlign(alClient);
    client->SetBorderWidth(4);
    auto inner = Make<TPanel>(client);
    inner->SetAlign(alClient);

    form.Handle(); // the window's real client size from here on
    int w = form.ClientWidth(), h = form.ClientHeight();
    EXPECT_EQ(top->BoundsRect().right, w);
    EXPECT_EQ(left->Top(), 40);
    EXPECT_EQ(left->Height(), h - 40);
    EXPECT_EQ(client->Left(), 100);
    EXPECT_EQ(client->Width(), w - 100);
    EXPECT_EQ(inner->Left(), 5); // bevel and border
    EXPECT_EQ(inner->Width(), client->Width() - 10);

    form.SetClientWidth(500);
    EXPECT_EQ(form.ClientWidth(), 500);
    EXPECT_EQ(client->Width(), 400);
    top->SetVisible(false);
    EXPECT_EQ(left->Top(), 0);
    EXPECT_EQ(GetPropValue(*client, "ParentBackground"), "False");
}

TEST(GuiStdCtrls, EditAndMemoText) {
    TForm form(nullptr);
    auto edit = Make<TEdit>(&form);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText("abc");
    edit->Handle();
    EXPECT_EQ(edit->Text(), "abc");
    SetWindowTextA(edit->Handle(), "typed");
    EXPECT_EQ(edit->Text(), "typed");
    EXPECT_GE(changes, 1);
    edit->SetReadOnly(true);
    EXPECT_TRUE(GetWindowLongPtrA(edit->Handle(), GWL_STYLE) & ES_READONLY);

    auto masked = Make<TEdit>(&form);
    masked->SetPasswordChar('#'); // before the window exists
    masked->SetText("secret");
    EXPECT_EQ(SendMessageA(masked->Handle(), EM_GETPASSWORDCHAR, 0, 0), '#');
    EXPECT_EQ(masked->Text(), "secret");
    masked->SetPasswordChar(0);
    EXPECT_EQ(SendMessageA(masked->Handle(), EM_GETPASSWORDCHAR, 0, 0), 0);

    auto memo = Make<TMemo>(&form);
    memo->Lines().Add("first"); // before the window exists
    memo->Handle();
    memo->Lines().Add("second");
    EXPECT_EQ(memo->Text(), "first\r\nsecond\r\n");
    ASSERT_EQ(memo->Lines().Count(), 2);
    EXPECT_EQ(memo->Lines()[1], "second");
    memo->SetText("a\r\nb");
    memo->Lines().Add("c");
    EXPECT_EQ(memo->Text(), "a\r\nb\r\nc\r\n");
    memo->Lines().Delete(0);
    EXPECT_EQ(memo->Lines()[0], "b");
    memo->Lines().Clear();
    EXPECT_EQ(memo->Lines().Count(), 0);
    std::string big;
    for (int i = 0; i < 4000; ++i)
        big += "line of the log\r\n";
    memo->SetText(big); // past the edit control's default limit
    EXPECT_EQ(memo->Text().size(), big.size());

    // A log line in any script reaches the window and comes back exactly.
    const std::string line = "\u6587\u66f8.lnk \u03b1\u03b2\u03b3 \U0001F600";
    memo->SetText("");
    memo->Lines().Add(line);
    memo->Lines().Add(line);
    EXPECT_EQ(memo->Text(), line + "\r\n" + line + "\r\n");
    std::wstring shown(256, L'\0');
    shown.resize(GetWindowTextW(memo->Handle(), shown.data(), 256));
    EXPECT_EQ(shown, ToWide(memo->Text()));
    edit->SetText(line);
    EXPECT_EQ(edit->Text(), line);
}

// A one-line edit takes pasted text without controls (the manual line break of word
// processors among them), lone surrogates and non-characters; a memo takes it whole.
TEST(GuiStdCtrls, PastedTextLosesWhatASettingCannotHold) {
    TForm form(nullptr);
    auto edit = Make<TEdit>(&form);
    edit->SetText("<>");
    SendMessageW(edit->Handle(), EM_SETSEL, 1, 1);
    PutOnClipboard(form.Handle(), L"http://a.example/\v\tx\r\ny\x01\xD800z\xFFFF\xD83D\xDE00");
    SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), "<http://a.example/xyz\U0001F600>");
    edit->SetReadOnly(true);
    SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), "<http://a.example/xyz\U0001F600>");

    auto memo = Make<TMemo>(&form);
    PutOnClipboard(form.Handle(), L"a\r\nb");
    SendMessageW(memo->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(memo->Text(), "a\r\nb");
}

// A disabled edit is painted disabled: grey text on the face colour. A read-only one
// asks the same question and keeps its own colours.
TEST(GuiStdCtrls, DisabledEditsLookDisabled) {
    TForm form(nullptr);
    auto edit = Make<TEdit>(&form);
    edit->SetText("secret");
    HWND wnd = edit->Handle();
    HDC dc = GetDC(wnd);
    auto answer = [&] {
        return reinterpret_cast<HBRUSH>(SendMessageW(form.Handle(), WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(wnd)));
    };
    edit->SetReadOnly(true);
    EXPECT_NE(answer(), GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(GetBkColor(dc), ColorToRGB(clWindow));
    edit->SetReadOnly(false);
    edit->SetEnabled(false);
    EXPECT_EQ(answer(), GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_GRAYTEXT));
    ReleaseDC(wnd, dc);
}

TEST(GuiStdCtrls, CheckBoxesAndRadioButtons) {
    TForm form(nullptr);
    auto box = Make<TCheckBox>(&form);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(true); // before the window: applied when it is made
    EXPECT_EQ(clicks, 1);
    HWND wnd = box->Handle();
    EXPECT_EQ(SendMessageA(wnd, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(wnd, BM_CLICK, 0, 0);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(SendMessageA(wnd, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SetPropValue(*box, "Checked", "True");
    EXPECT_TRUE(box->Checked());

    auto group = Make<TGroupBox>(&form);
    auto a = Make<TRadioButton>(group);
    auto b = Make<TRadioButton>(group);
    auto outside = Make<TRadioButton>(&form);
    outside->SetChecked(true);
    a->SetChecked(true);
    SendMessageA(b->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(SendMessageA(a->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(outside->Checked()); // another parent, another group
}

TEST(GuiStdCtrls, MultiLineButtonsKeepTheirWrappingStyle) {
    TForm form(nullptr);
    auto early = Make<TButton>(&form);
    early->SetMultiLine(true); // before the window: made with it
    auto late = Make<TButton>(&form);
    auto multiLine = [](TButton* button) {
        return (GetWindowLongPtrW(button->Handle(), GWL_STYLE) & BS_MULTILINE) != 0;
    };
    EXPECT_TRUE(multiLine(early));
    EXPECT_FALSE(multiLine(late));
    SetPropValue(*late, "MultiLine", "True"); // as a form file or the skin reads it
    EXPECT_TRUE(late->MultiLine());
    EXPECT_TRUE(multiLine(late));
    EXPECT_EQ(GetPropValue(*late, "MultiLine"), "True");
    // Becoming the default button and back keeps the wrapping.
    late->SetDefault(true);
    late->SetDefault(false);
    EXPECT_TRUE(multiLine(late));
    EXPECT_EQ(GetWindowLongPtrW(late->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    late->SetMultiLine(false);
    late->SetMultiLine(false);
    EXPECT_FALSE(multiLine(late));
}

TEST(GuiStdCtrls, ListBoxAndComboBoxItems) {
    TForm form(nullptr);
    auto list = Make<TListBox>(&form);
    int value = 7;
    list->Items().Add("one");
    list->Items().Add("two", &value);
    list->SetItemIndex(1);
    HWND wnd = list->Handle();
    EXPECT_EQ(SendMessageA(wnd, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(reinterpret_cast<int*>(SendMessageA(wnd, LB_GETITEMDATA, 1, 0)), &value);
    list->Items().Insert(0, "zero");
    list->Items().Delete(2);
    EXPECT_EQ(SendMessageA(wnd, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(list->Items()[0], "zero");
    list->RecreateWnd();
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 2);

    auto combo = Make<TComboBox>(&form);
    combo->SetStyle(csDropDownList);
    combo->Items().Add("a");
    combo->Items().Add("b");
    combo->SetItemIndex(1);
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(combo->Text(), "b");
    EXPECT_EQ(combo->ItemIndex(), 1);
    combo->Items().Clear();
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(changes, 0); // only the user's changes
}

TEST(GuiStdCtrls, PageControlShowsTheActiveSheetOnly) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto pages = Make<TPageControl>(&form);
    pages->SetAlign(alClient);
    auto first = new TTabSheet(&form);
    first->SetPageControl(pages);
    first->SetCaption("First");
    auto second = new TTabSheet(&form);
    second->SetPageControl(pages);
    second->SetCaption("Second");
    auto hidden = new TTabSheet(&form);
    hidden->SetPageControl(pages);
    hidden->SetTabVisible(false);
    form.Show();
    HWND tabs = pages->Handle();
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(pages->ActivePage(), first);
    EXPECT_TRUE(first->Visible());
    EXPECT_FALSE(second->Visible());
    EXPECT_GT(first->Top(), 0); // below the tabs

    int changes = 0;
    pages->OnChange = [&](TObject*) { ++changes; };
    SendMessageA(tabs, TCM_SETCURFOCUS, 1, 0); // as a click on the second tab
    EXPECT_EQ(pages->ActivePage(), second);
    EXPECT_EQ(changes, 1);
    pages->SetActivePageIndex(2);
    EXPECT_TRUE(hidden->Visible());
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), -1);
    EXPECT_EQ(hidden->PageIndex(), 2);

    delete second;
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 1);
    form.Hide();
}

TEST(GuiStdCtrls, ChildrenTakeTheParentsColourAndFontUntilGivenTheirOwn) {
    TForm form(nullptr);
    auto panel = Make<TPanel>(&form);
    panel->SetColor(clWhite);
    panel->Font().SetSize(14);
    auto label = Make<TLabel>(panel);
    auto edit = Make<TEdit>(panel);
    EXPECT_EQ(label->Color(), clWhite);
    EXPECT_EQ(label->Font().Height(), panel->Font().Height());
    EXPECT_TRUE(label->ParentFont());
    EXPECT_EQ(edit->Color(), clWindow);
    panel->SetColor(clRed);
    EXPECT_EQ(label->Color(), clRed);
    label->Font().SetStyle(fsBold);
    EXPECT_FALSE(label->ParentFont());
    panel->Font().SetSize(20);
    EXPECT_NE(label->Font().Height(), panel->Font().Height());
}

TEST(GuiStdCtrls, KeyPressCanChangeOrSwallowTypedCharacters) {
    TForm form(nullptr);
    auto edit = Make<TEdit>(&form);
    edit->OnKeyPress = [](TObject*, wchar_t& key) {
        if (key == 'x')
            key = 0;
        else if (key == 'a')
            key = 'b';
    };
    HWND wnd = edit->Handle();
    for (char c : std::string("axc"))
        SendMessageA(wnd, WM_CHAR, static_cast<unsigned char>(c), 1);
    EXPECT_EQ(edit->Text(), "bc");
    WORD seen = 0;
    edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { seen = key; };
    SendMessageA(wnd, WM_KEYDOWN, VK_F5, 1);
    EXPECT_EQ(seen, VK_F5);
}

TEST(GuiStdCtrls, SpinEditsAndUpDownsKeepTheirNumbers) {
    TForm form(nullptr);
    auto spin = Make<TSpinEdit>(&form);
    spin->SetMinValue(0);
    spin->SetMaxValue(255);
    spin->SetValue(300);
    EXPECT_EQ(spin->Text(), "255");
    spin->SetText("junk");
    EXPECT_EQ(spin->Value(), 0);
    spin->SetText("300");
    EXPECT_EQ(spin->Value(), 255);
    spin->SetMaxValue(0); // no limits
    EXPECT_EQ(spin->Value(), 300);

    HWND arrows = GetWindow(spin->Handle(), GW_CHILD);
    ASSERT_NE(arrows, nullptr);
    NMUPDOWN change{};
    change.hdr.hwndFrom = arrows;
    change.hdr.code = UDN_DELTAPOS;
    change.iDelta = 1;
    SendMessageA(spin->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(spin->Value(), 301);

    auto edit = Make<TEdit>(&form);
    auto upDown = Make<TUpDown>(&form);
    upDown->SetMin(1);
    upDown->SetMax(60);
    upDown->SetAssociate(edit);
    upDown->SetPosition(15);
    EXPECT_EQ(edit->Text(), "15");
    edit->SetText("90"); // typed beyond the range: the edit keeps it, the position stays in range
    EXPECT_EQ(edit->Text(), "90");
    EXPECT_LE(upDown->Position(), 60);
    upDown->SetPosition(0);
    EXPECT_EQ(upDown->Position(), 1);
}

TEST(GuiStdCtrls, DateTimePickerHoldsItsMoment) {
    TForm form(nullptr);
    auto picker = Make<TDateTimePicker>(&form);
    picker->SetKind(dtkTime);
    TDateTime moment = EncodeDate(2024, 2, 29) + EncodeTime(13, 45, 10, 0);
    picker->SetDateTime(moment);
    picker->Handle();
    EXPECT_NEAR(picker->DateTime(), moment, 1e-6);
    picker->SetKind(dtkDate); // a new window keeps the moment
    EXPECT_NEAR(picker->DateTime(), moment, 1e-6);
    char cls[32] = {};
    GetClassNameA(picker->Handle(), cls, sizeof(cls));
    EXPECT_STREQ(cls, "TDateTimePicker");
}
