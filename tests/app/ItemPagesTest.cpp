#include "ProgramTest.h"
#include "app/pages/BrowserFrames.h"
#include "app/pages/InternetExplorerFrame.h"
#include "app/pages/WindowsFrame.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include <algorithm>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <shlobj.h>

namespace {

template <class TPage> struct TPageOnEngine {
    TPageOnEngine() : Page(std::make_unique<TPage>(nullptr)) { Page->Engine = &Engine; }
    TEraserEngine Engine;
    std::unique_ptr<TPage> Page;
};

TEST(ItemPages, DefaultsGoToTheEngineAndLoadSettingsToTheBoxes) {
    TPageOnEngine<TTWindowsFrame> windows;
    windows.Page->SetDefaults();
    EXPECT_TRUE(windows.Engine.Item(ciEraseRunHistory).Enabled);
    EXPECT_FALSE(windows.Engine.Item(ciEraseRecycleBin).Enabled);
    EXPECT_FALSE(windows.Page->Box("chkEraseRunHistory")->Checked()); // the boxes stay
    windows.Engine.Item(ciEraseRecycleBin).Enabled = true;            // as a settings file may say
    windows.Page->LoadSettings();
    EXPECT_TRUE(windows.Page->Box("chkEraseRunHistory")->Checked());
    EXPECT_TRUE(windows.Page->Box("chkEraseRecycleBin")->Checked());
    EXPECT_EQ(windows.Page->Box("chkEraseRecycleBin")->Caption(), "Erase Windows Recycle Bin (*)");
    EXPECT_EQ(windows.Page->Box("chkEraseWindowsClipboard")->Caption(), "Erase Windows Clipboard");
    windows.Page->Box("chkEraseRunHistory")->SetChecked(false);
    EXPECT_FALSE(windows.Engine.Item(ciEraseRunHistory).Enabled);

    TPageOnEngine<TTInternetExplorer> ie;
    ie.Page->SetDefaults();
    EXPECT_TRUE(ie.Engine.Item(ciIEEraseAutoCompletePaswords).Enabled);
    EXPECT_FALSE(ie.Engine.Item(ciIEEraseIndexDAT).Enabled);
    EXPECT_FALSE(ie.Page->Box("chkEraseLocationBarURLs")->Enabled());
}

TEST(ItemPages, RemoveAllAndSelectAllReachTheEngineThroughTheBoxes) {
    TPageOnEngine<TTWindowsFrame> windows;
    windows.Page->SetDefaults();
    windows.Page->LoadSettings();
    windows.Page->btnRemoveAllClick(nullptr);
    for (int i = ciEraseStartMenuRecentDocuments; i <= ciEraseRegistryFragmentFiles; ++i)
        EXPECT_FALSE(windows.Engine.Item(TCatalogueItem(i)).Enabled) << i;

    TPageOnEngine<TTAOL> aol; // its boxes are greyed, yet follow the page's commands
    aol.Page->LoadSettings();
    EXPECT_FALSE(aol.Page->Box("chkEraseCache")->Enabled());
    aol.Page->btnSelectAllClick(nullptr);
    for (int i = ciAOLCache; i <= ciAOLFormsData; ++i)
        EXPECT_TRUE(aol.Engine.Item(TCatalogueItem(i)).Enabled) << i;
    EXPECT_EQ(aol.Page->Box("chkEraseFavorites"), nullptr);
}

TEST(ItemPages, TheFavoritesBoxWritesTheEngineOnlyAfterTheFirstLoad) {
    TPageOnEngine<TTOpera> opera;
    opera.Page->Box("chkEraseFavorites")->SetChecked(true);
    EXPECT_FALSE(opera.Engine.Item(ciOperaFavorites).Enabled);
    opera.Page->LoadSettings();
    opera.Page->Box("chkEraseFavorites")->SetChecked(true);
    EXPECT_TRUE(opera.Engine.Item(ciOperaFavorites).Enabled);
    TPageOnEngine<TTNetscapeMozilla> netscape;
    netscape.Page->LoadSettings();
    netscape.Page->btnSelectAllClick(nullptr);
    EXPECT_TRUE(netscape.Engine.Item(ciNetscapeMozillaFavorites).Enabled);
}

// The item pages and keep dialogs as a person uses them, checked against prefs.dat
// and against what a clean leaves.
class ItemPagesProgram : public TProgramTest {
protected:
    // The Internet Explorer page of the "Browsers" sheet.
    void ShowInternetExplorerPage() {
        PostClick(Button("Cleaner Settings   "));
        PostClick(Button("Internet Browsers"));
        WaitForPage("TTInternetExplorer");
    }
    // Opens a keep dialog from its button and waits for its filled list.
    HWND OpenKeepDialog(const char* button, const char* dialogClass, HWND& list) {
        PostClick(Button(button));
        HWND dialog = Program.WaitForWindow(dialogClass);
        EXPECT_NE(dialog, nullptr) << dialogClass;
        list = dialog ? FindChild(dialog, "TListView") : nullptr;
        EXPECT_TRUE(list && WaitFor([&] { return ListViewCount(list) > 0; }));
        return dialog;
    }
    // Presses a dialog's button and waits until the dialog has gone.
    static void Press(HWND dialog, const char* caption) {
        PostClick(FindChild(dialog, "TButton", caption));
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    }
    static int RowOf(HWND list, const std::string& caption) {
        const std::vector<std::string> captions = ListViewCaptions(list);
        const auto found = std::find(captions.begin(), captions.end(), caption);
        return found == captions.end() ? -1 : static_cast<int>(found - captions.begin());
    }
};

// A window of another program takes the focus and gives it back while a cookie is
// ticked: the tick stays, OK keeps it in prefs.dat, and after a restart it is shown
// again and the clean leaves that cookie alone.
TEST_F(ItemPagesProgram, AKeptCookieSurvivesAnotherWindowTheRestartAndTheClean) {
    const std::string cookies = IncludeTrailingPathDelimiter(SpecialFolder(CSIDL_COOKIES));
    ASSERT_TRUE(ForceDirectories(cookies));
    WriteStringToFile(cookies + "kept@site.txt", "k");
    WriteStringToFile(cookies + "gone@site.txt", "g");
    Program.WritePrefs([](TEraserEngine& engine) { engine.Item(ciIEEraseCookies).Enabled = true; });
    StartProgram();
    ShowInternetExplorerPage();
    HWND list = nullptr;
    HWND dialog = OpenKeepDialog("Keep Cookies", "TfKeepCookie", list);
    ASSERT_NE(dialog, nullptr);
    const int kept = RowOf(list, "kept@site.txt");
    ASSERT_GE(kept, 0);
    ListViewCheck(list, kept);
    EXPECT_EQ(ListViewText(list, kept, 1), "Keep");

    HWND other = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 80,
                                 40, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == other; }));
    DestroyWindow(other);
    MouseClick(FindChild(dialog, "TEdit")); // back to the dialog
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }));
    SendMessageA(dialog, WM_NULL, 0, 0);
    EXPECT_EQ(ListViewText(list, RowOf(list, "kept@site.txt"), 1), "Keep");
    Press(dialog, "&OK");
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_EQ(saved.FileItem(ciIEEraseCookies).Exclude, std::vector<std::string>{"kept@site.txt"});

    StartProgram();
    ShowInternetExplorerPage();
    dialog = OpenKeepDialog("Keep Cookies", "TfKeepCookie", list);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ListViewText(list, RowOf(list, "kept@site.txt"), 1), "Keep");
    EXPECT_EQ(ListViewText(list, RowOf(list, "gone@site.txt"), 1), "");
    Press(dialog, "&Cancel");
    ASSERT_NO_FATAL_FAILURE(RunRapidErase());
    EXPECT_TRUE(FileExists(cookies + "kept@site.txt"));
    EXPECT_FALSE(FileExists(cookies + "gone@site.txt"));
    CloseProgram();
    SysDeleteFile(cookies + "kept@site.txt");
}

// Extensions typed as a person may type them, with or without their dot or star,
// become one entry of the form the finders compare with.
TEST_F(ItemPagesProgram, AnExtensionTypedWithItsDotIsExcludedAsTyped) {
    StartProgram();
    SendMessageA(Button("Junk Cleaner         "), BM_CLICK, 0, 0);
    HWND finder = WaitForPage("TTDuplicateFinder");
    HWND list = FindChild(finder, "TListBox");
    HWND add = FindChild(GetParent(list), "TButton", "Add");
    ASSERT_NE(add, nullptr);
    for (const char* typed : {" .TXT ", "*.Log", "dat"}) {
        PostClick(add);
        HWND input = Program.WaitForWindow("TInputBoxForm");
        ASSERT_NE(input, nullptr);
        SetText(FindChild(input, "TEdit"), typed);
        PostClick(FindChild(input, "TButton", "OK"));
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(input) || !IsWindowVisible(input); }));
    }
    std::vector<std::string> entries;
    for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
        wchar_t text[64] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(ToUtf8(text));
    }
    EXPECT_EQ(entries, (std::vector<std::string>{".exe", ".txt", ".log", ".dat"}));
    CloseProgram();
}

// Windows ending the session with the program open: the close-time clean runs first,
// and a box ticked since the start is in prefs.dat before the program is ended.
TEST_F(ItemPagesProgram, TheEndOfTheSessionCleansAndKeepsTheTicks) {
    const std::string cookie =
        IncludeTrailingPathDelimiter(SpecialFolder(CSIDL_COOKIES)) + "session@site.txt";
    ASSERT_TRUE(ForceDirectories(ExtractFilePath(cookie)));
    WriteStringToFile(cookie, "s");
    Program.WritePrefs([](TEraserEngine& engine) {
        engine.Item(ciIEEraseCookies).Enabled = true;
        engine.AutoCleanAtWindowsShutdown = true;
    });
    StartProgram();
    ShowInternetExplorerPage();
    SendMessageA(FindChild(Main, "TCheckBox", "Erase History (*)"), BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(Main, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_NE(WindowText(Memo).find("Cleaning Completed!"), std::string::npos);
    EXPECT_FALSE(FileExists(cookie));
    SendMessageA(Main, WM_ENDSESSION, TRUE, 0);
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_TRUE(saved.Item(ciIEEraseHistory).Enabled);
    EXPECT_TRUE(saved.Item(ciIEEraseCookies).Enabled);
    CloseProgram();
}

} // namespace
