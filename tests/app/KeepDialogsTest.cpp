#include "app/KeepCookiesForm.h"
#include "app/KeepTypedURLsForm.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include "engine/CustomEraserEngine.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <stdexcept>

namespace {

// Opens and closes the dialog: each showing lists afresh.
void ShowOnce(TForm& dialog) {
    dialog.Show();
    dialog.Hide();
}

std::vector<std::string> Captions(const TListView& list) {
    std::vector<std::string> captions;
    for (int i = 0; i < list.Count(); ++i)
        captions.push_back(list.Items(i)->Caption());
    return captions;
}

class KeepCookies : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a@site.txt", "b@other.txt", "index.dat"})
            Eraser.AddFile(Folder / name); // the collect finds these three
        Found = Eraser.Items;
        Eraser.OnCollect = [this](TEraser*) {
            for (const TEraserItem& item : Found)
                Eraser.AddFile(item.Path);
        };
        Eraser.Exclude = {"B@OTHER.TXT"};
        Dialog = std::make_unique<TfKeepCookie>(nullptr);
        Dialog->Eraser = &Eraser;
        ShowOnce(*Dialog);
    }
    TListItem* Row(const std::string& caption) const {
        for (int i = 0; i < Dialog->lvCookies->Count(); ++i)
            if (Dialog->lvCookies->Items(i)->Caption() == caption)
                return Dialog->lvCookies->Items(i);
        return nullptr;
    }

    TTempFolder Folder;
    TEraseFiles Eraser{"IEEraseCookies", "Cookies"};
    std::vector<TEraserItem> Found;
    std::unique_ptr<TfKeepCookie> Dialog;
};

TEST_F(KeepCookies, ListsEveryTextCookieWithTheKeptOnesChecked) {
    EXPECT_EQ(Captions(*Dialog->lvCookies),
              (std::vector<std::string>{"a@site.txt", "b@other.txt"}));
    EXPECT_FALSE(Row("a@site.txt")->Checked());
    EXPECT_TRUE(Row("b@other.txt")->Checked());
    EXPECT_EQ(Row("b@other.txt")->SubItems(), std::vector<std::string>{"Keep"});
    EXPECT_EQ(Eraser.Exclude, std::vector<std::string>{"B@OTHER.TXT"});
    Dialog->edFilter->SetText("  a@*  ");
    Dialog->btnFilter->Click();
    EXPECT_EQ(Captions(*Dialog->lvCookies), std::vector<std::string>{"a@site.txt"});
    Dialog->edFilter->SetText("["); // a broken mask lists nothing, and raises nothing
    Dialog->btnFilter->Click();
    EXPECT_EQ(Dialog->lvCookies->Count(), 0);
}

TEST_F(KeepCookies, OKWritesTheKeepListOnceAndCancelNothing) {
    Row("a@site.txt")->SetChecked(true);
    Row("a@site.txt")->SetChecked(false);
    Row("a@site.txt")->SetChecked(true);
    Dialog->btnCnacel->Click();
    EXPECT_EQ(Dialog->ModalResult(), mrCancel);
    EXPECT_EQ(Eraser.Exclude, std::vector<std::string>{"B@OTHER.TXT"});
    ShowOnce(*Dialog); // reopened: the old state
    EXPECT_FALSE(Row("a@site.txt")->Checked());
    Row("a@site.txt")->SetChecked(true);
    Row("a@site.txt")->SetChecked(false);
    Row("a@site.txt")->SetChecked(true);
    Dialog->btnOK->Click();
    EXPECT_EQ(Dialog->ModalResult(), mrOk);
    // Each listed key went out and back in as the row names it.
    EXPECT_EQ(Eraser.Exclude, (std::vector<std::string>{"b@other.txt", "a@site.txt"}));
    Dialog->btnDeselectAll->Click();
    Dialog->btnOK->Click();
    EXPECT_TRUE(Eraser.Exclude.empty());
    // A settings file may name a kept cookie twice: one untick lets it go.
    Eraser.Exclude = {"b@other.txt", "B@OTHER.TXT"};
    ShowOnce(*Dialog);
    Row("b@other.txt")->SetChecked(false);
    Dialog->btnOK->Click();
    EXPECT_TRUE(Eraser.Exclude.empty());
}

TEST_F(KeepCookies, AFailingCollectLeavesTheExclusionListAsItWas) {
    Eraser.OnCollect = [](TEraser*) { throw std::runtime_error("collect failed"); };
    EXPECT_THROW(Dialog->FillList(), std::runtime_error);
    EXPECT_EQ(Eraser.Exclude, std::vector<std::string>{"B@OTHER.TXT"});
    EXPECT_EQ(Dialog->lvCookies->Count(), 0);
}

// While a run goes the dialog leaves the eraser alone; afterwards it lists again.
TEST_F(KeepCookies, ARunningCleanBlocksEverythingButCancel) {
    Dialog->RunningChanged(true);
    for (TControl* control : std::initializer_list<TControl*>{
             Dialog->edFilter, Dialog->btnFilter, Dialog->lvCookies, Dialog->btnSelectAll,
             Dialog->btnDeselectAll, Dialog->btnOK})
        EXPECT_FALSE(control->Enabled()) << control->Name();
    EXPECT_TRUE(Dialog->btnCnacel->Enabled());
    Eraser.Items.clear(); // as the run's own collect does
    ShowOnce(*Dialog);
    EXPECT_TRUE(Eraser.Items.empty());
    EXPECT_EQ(Eraser.Exclude, std::vector<std::string>{"B@OTHER.TXT"});
    Dialog->RunningChanged(false);
    EXPECT_TRUE(Dialog->btnOK->Enabled());
    ShowOnce(*Dialog);
    EXPECT_EQ(Dialog->lvCookies->Count(), 2);
}

// The collect pumps no messages (no run can start on the emptied exclusion list) and
// a stopped run before it does not cut the listing short.
TEST_F(KeepCookies, TheCollectLetsNoMessageThroughAndIgnoresAnEarlierStop) {
    TCustomEraserEngine engine;
    engine.AddEraser(&Eraser);
    int pumped = 0;
    engine.OnProcessMessages = [&] { ++pumped; };
    engine.Cancelled = true;
    Folder.Write("cookies\\c@third.txt");
    Folder.Write("cookies\\d@fourth.txt");
    Eraser.OnCollect = [this](TEraser*) {
        EXPECT_TRUE(Eraser.Exclude.empty());
        Eraser.CollectFiles(Folder / "cookies\\", "*.*", nullptr, false);
    };
    Dialog->FillList();
    EXPECT_EQ(Dialog->lvCookies->Count(), 2);
    EXPECT_EQ(pumped, 0);
    EXPECT_TRUE(engine.Cancelled);
    ASSERT_TRUE(engine.OnProcessMessages);
    engine.OnProcessMessages();
    EXPECT_EQ(pumped, 1);
    EXPECT_EQ(Eraser.Exclude, std::vector<std::string>{"B@OTHER.TXT"});
}

// What the list view's window shows, row by row.
std::vector<std::string> WindowCaptions(TListView& list) {
    std::vector<std::string> captions;
    for (int i = 0; i < list.Count(); ++i) {
        wchar_t buffer[256] = {};
        LVITEMW item{};
        item.pszText = buffer;
        item.cchTextMax = 256;
        SendMessageW(list.Handle(), LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        captions.push_back(ToUtf8(buffer));
    }
    return captions;
}

// Cookies named in any script are shown, filtered without case and kept exactly.
TEST_F(KeepCookies, NamesInAnyScriptAreShownFilteredAndKept) {
    const std::vector<std::string> names = {"\u6587\u66f8@site.txt", "\u0391\u03b2@other.txt",
                                            "\U0001F600@x.txt"};
    Eraser.Items.clear();
    for (const std::string& name : names)
        Eraser.AddFile(Folder / name);
    Found = Eraser.Items;
    Eraser.Exclude = {"\u03b1\u0392@OTHER.TXT"};
    ShowOnce(*Dialog);
    EXPECT_EQ(WindowCaptions(*Dialog->lvCookies), names);
    EXPECT_TRUE(Row(names[1])->Checked());
    Dialog->edFilter->SetText("\u03b1*");
    EXPECT_EQ(Dialog->edFilter->Text(), "\u03b1*"); // through the edit's window
    Dialog->btnFilter->Click();
    EXPECT_EQ(WindowCaptions(*Dialog->lvCookies), std::vector<std::string>{names[1]});
    Dialog->edFilter->SetText("");
    Dialog->btnFilter->Click();
    Row(names[2])->SetChecked(true);
    Dialog->btnOK->Click();
    EXPECT_EQ(Eraser.Exclude, (std::vector<std::string>{names[1], names[2]}));
}

TEST(KeepTypedURLs, ListsTheURLsAndKeepsTheirTexts) {
    const std::string key = "Software\\TarnwhistleTests\\TypedURLs";
    TRegistry reg;
    reg.RootKey = HKEY_CURRENT_USER;
    ASSERT_TRUE(reg.OpenKey(key, true));
    reg.WriteString("url1", "http://one.example/");
    reg.WriteString("url2", "http://two.example/");
    TEraseRegistry eraser("IEEraseTypedURLs", "Typed URLs");
    eraser.KeptTexts = {"http://two.example/"};
    eraser.OnCollect = [&](TEraser*) {
        eraser.AddValue(HKEY_CURRENT_USER, key, "url1");
        eraser.AddValue(HKEY_CURRENT_USER, key, "url2");
        eraser.AddValue(HKEY_CURRENT_USER, key + "\\Missing", "url3");
    };
    TfKeepTypedURLs dialog(nullptr);
    dialog.Eraser = &eraser;
    ShowOnce(dialog);
    EXPECT_EQ(Captions(*dialog.lvURLs),
              (std::vector<std::string>{"http://one.example/", "http://two.example/", ""}));
    EXPECT_TRUE(dialog.lvURLs->Items(1)->Checked());
    dialog.lvURLs->Items(2)->SetChecked(true); // without a caption: no effect on the list
    dialog.lvURLs->Items(0)->SetChecked(true);
    dialog.btnOK->Click();
    EXPECT_EQ(eraser.KeptTexts,
              (std::vector<std::string>{"http://two.example/", "http://one.example/"}));
    reg.CloseKey();
    reg.DeleteKey("Software\\TarnwhistleTests");
}

} // namespace
