// The browser items, run for real and in simulation over traces planted in the
// private prefix.
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include "engine/EngineTestSupport.h"
#include "engine/SharedRoutines.h"
#include "engine/catalogue/TypedURLs.h"
#include <gtest/gtest.h>
#include <shlobj.h>
#include <tlhelp32.h>

namespace {

class CatalogueBrowsersTest : public testing::Test {
protected:
    TTestEngine Engine;
};

// Kept names are never masks: "user@mail*" keeps no "user@mail[2].txt".
TEST_F(CatalogueBrowsersTest, CookiesKeepExactlyTheChosenNames) {
    const std::string cookies = SpecialFolderOf(CSIDL_COOKIES);
    PlantFile(cookies + "\\user@ads[1].txt", "1234");
    PlantFile(cookies + "\\user@bank[1].txt", "1234");
    PlantFile(cookies + "\\user@mail[2].txt", "1234");
    TEraseFiles& item = Engine.FileItem(ciIEEraseCookies);
    item.Exclude = {"USER@BANK[1].TXT", "user@mail*", "[broken"};
    Engine.EnableOnly({ciIEEraseCookies});

    const std::vector<std::string> lines = {"Erasing Internet Explorer Cookies...",
                                            "Internet Explorer Cookies Erased.", ""};
    EXPECT_EQ(Engine.Run(true),
              Concat({OpeningLines(), lines, ClosingLines(0, 0, 0, 2, "8.00 B")}));
    EXPECT_TRUE(Exists(cookies + "\\user@ads[1].txt"));
    EXPECT_EQ(Engine.Run(false),
              Concat({OpeningLines(), lines, ClosingLines(0, 0, 0, 2, "8.00 B")}));
    EXPECT_FALSE(Exists(cookies + "\\user@ads[1].txt"));
    EXPECT_TRUE(Exists(cookies + "\\user@bank[1].txt"));
    EXPECT_FALSE(Exists(cookies + "\\user@mail[2].txt"));
    EXPECT_EQ(item.Exclude,
              (std::vector<std::string>{"USER@BANK[1].TXT", "user@mail*", "[broken"}));
    RemoveTree(cookies);
}

TEST_F(CatalogueBrowsersTest, InternetExplorerFoldersAreEmptiedAndKept) {
    // Each item's folder stays; everything below it goes.
    const std::vector<std::string> roots = {
        SpecialFolderOf(CSIDL_INTERNET_CACHE), SpecialFolderOf(CSIDL_HISTORY),
        SpecialFolderOf(CSIDL_FAVORITES), SpecialFolderOf(CSIDL_COMMON_FAVORITES),
        IncludeTrailingPathDelimiter(GetWindowsDir()) + "Downloaded Program Files"};
    for (const std::string& root : roots)
        PlantFile(root + "\\sub\\trace.dat");
    const std::string index = SpecialFolderOf(CSIDL_INTERNET_CACHE) + "\\Content.IE5\\index.dat";
    PlantFile(index);
    Engine.EnableOnly({ciIEEraseCache, ciIEEraseHistory, ciIEEraseIndexDAT,
                       ciIEEraseDownloadedProgramFilesDirectory, ciIEEraseFavorites});

    const auto lines =
        Concat({OpeningLines(), ItemLines(ciIEEraseCache), ItemLines(ciIEEraseHistory),
                ItemLines(ciIEEraseIndexDAT), ItemLines(ciIEEraseDownloadedProgramFilesDirectory),
                ItemLines(ciIEEraseFavorites)});
    auto log = Engine.Run(true);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + lines.size()), lines);
    for (const std::string& root : roots)
        EXPECT_TRUE(Exists(root + "\\sub\\trace.dat"));

    log = Engine.Run(false);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + lines.size()), lines);
    for (const std::string& root : roots) {
        EXPECT_FALSE(Exists(root + "\\sub")) << root;
        EXPECT_TRUE(Exists(root)) << root;
    }
    EXPECT_FALSE(Exists(index)); // the cache's folder item does not keep it
}

class TypedURLsTest : public CatalogueBrowsersTest {
protected:
    void SetUp() override {
        DeleteRegKey(HKEY_CURRENT_USER, TypedURLsKey);
        Engine.EnableOnly({ciIEEraseTypedURLs});
    }
    void TearDown() override { DeleteRegKey(HKEY_CURRENT_USER, TypedURLsKey); }
    TEraseRegistry& Item() { return Engine.RegistryItem(ciIEEraseTypedURLs); }
};

TEST_F(TypedURLsTest, KeptAddressesAreRenumberedAndStayKept) {
    WriteRegString(HKEY_CURRENT_USER, TypedURLsKey, "url1", "http://a/");
    WriteRegString(HKEY_CURRENT_USER, TypedURLsKey, "url2", "http://b/");
    WriteRegString(HKEY_CURRENT_USER, TypedURLsKey, "url3", "http://c/");
    Item().ExcludedValues = {"url2"};

    EXPECT_EQ(Engine.Run(true), RunLog({ciIEEraseTypedURLs}, 0, 2, 0, 0, "0 B"));
    EXPECT_EQ(RegValueNames(HKEY_CURRENT_USER, TypedURLsKey).size(), 3u);
    EXPECT_EQ(Item().ExcludedValues, std::vector<std::string>{"url2"});

    EXPECT_EQ(Engine.Run(false), RunLog({ciIEEraseTypedURLs}, 0, 2, 0, 0, "0 B"));
    EXPECT_EQ(RegValueNames(HKEY_CURRENT_USER, TypedURLsKey), std::vector<std::string>{"url1"});
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, TypedURLsKey, "url1"), "http://b/");
    EXPECT_EQ(Item().ExcludedValues, std::vector<std::string>{"url1"});

    // The next run keeps it under its new name.
    WriteRegString(HKEY_CURRENT_USER, TypedURLsKey, "url2", "http://d/");
    Engine.Run(false);
    EXPECT_EQ(RegValueNames(HKEY_CURRENT_USER, TypedURLsKey), std::vector<std::string>{"url1"});
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, TypedURLsKey, "url1"), "http://b/");
}

TEST_F(TypedURLsTest, ANonStringValueIsRenumberedWithItsData) {
    WriteRegString(HKEY_CURRENT_USER, TypedURLsKey, "url1", "http://a/");
    WriteRegDword(HKEY_CURRENT_USER, TypedURLsKey, "url2", 7);
    WriteRegString(HKEY_CURRENT_USER, TypedURLsKey, "url3", "http://c/");
    Item().ExcludedValues = {"url2", "url3", "other"};
    Engine.Run(false);

    EXPECT_EQ(RegValueNames(HKEY_CURRENT_USER, TypedURLsKey),
              (std::vector<std::string>{"url1", "url2"}));
    DWORD data = 0, size = sizeof(data);
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, TypedURLsKey, "url1", RRF_RT_REG_DWORD, nullptr,
                           &data, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(data, 7u);
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, TypedURLsKey, "url2"), "http://c/");
    EXPECT_EQ(Item().ExcludedValues, (std::vector<std::string>{"url1", "url2", "other"}));
}

// Kept addresses in any script, of any length, come back byte for byte with their
// types; a value after a long one is not lost.
TEST_F(TypedURLsTest, KeptAddressesKeepEveryByteAndTheirTypes) {
    const std::string japanese = "http://\u4f8b\u3048.jp/\u00fc";
    const std::string greek = "http://\u03b5\u03bb.gr/\U0001F600", long_(10000, 'l');
    WriteRegString(HKEY_CURRENT_USER, TypedURLsKey, "url1", "http://a/");
    WriteRegString(HKEY_CURRENT_USER, TypedURLsKey, "url2", japanese);
    WriteRegString(HKEY_CURRENT_USER, TypedURLsKey, "url3", long_);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(TypedURLsKey, false));
    reg.WriteExpandString("url4", greek);
    Item().ExcludedValues = {"url2", "url3", "url4"};
    Engine.Run(false);

    EXPECT_EQ(RegValueNames(HKEY_CURRENT_USER, TypedURLsKey),
              (std::vector<std::string>{"url1", "url2", "url3"}));
    const std::wstring wide = ToWide(japanese);
    const std::string bytes(reinterpret_cast<const char*>(wide.c_str()),
                            (wide.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(reg.ReadBinaryString("url1"), bytes);
    EXPECT_EQ(reg.GetDataType("url1"), rdString);
    EXPECT_EQ(reg.ReadString("url2"), long_);
    EXPECT_EQ(reg.ReadString("url3"), greek);
    EXPECT_EQ(reg.GetDataType("url3"), rdExpandString);
    EXPECT_EQ(Item().ExcludedValues, (std::vector<std::string>{"url1", "url2", "url3"}));
}

TEST_F(CatalogueBrowsersTest, MozillaProfilesAreFoundByTheirPrefsFile) {
    const std::string root = SpecialFolderOf(CSIDL_APPDATA) + "\\Mozilla";
    const std::string one = root + "\\Firefox\\Profiles\\one.default";
    const std::string two = root + "\\Profiles\\two";
    for (const std::string& profile : {one, two}) {
        PlantFile(profile + "\\prefs.js");
        PlantFile(profile + "\\cookies.txt", "12");
        PlantFile(profile + "\\Cache\\a\\b.bin", "1234");
    }
    PlantFile(root + "\\stray\\cookies.txt"); // no prefs.js: not a profile
    Engine.EnableOnly({ciNetscapeMozillaCookies, ciNetscapeMozillaCache});

    EXPECT_EQ(Engine.Run(false),
              RunLog({ciNetscapeMozillaCache, ciNetscapeMozillaCookies}, 0, 0, 2, 4, "12.00 B"));
    for (const std::string& profile : {one, two}) {
        EXPECT_FALSE(Exists(profile + "\\cookies.txt"));
        EXPECT_FALSE(Exists(profile + "\\Cache\\a"));
        EXPECT_TRUE(Exists(profile + "\\Cache"));
        EXPECT_TRUE(Exists(profile + "\\prefs.js"));
    }
    EXPECT_TRUE(Exists(root + "\\stray\\cookies.txt"));
    RemoveTree(root);
}

TEST_F(CatalogueBrowsersTest, OperaProfileHistoryFilesAndSessions) {
    const std::string profile = SpecialFolderOf(CSIDL_APPDATA) + "\\Opera\\Opera7\\profile";
    PlantFile(profile + "\\opera6.ini");
    for (const char* name : {"global.dat", "opera.dir", "vlink4.dat", "download.dat"})
        PlantFile(profile + "\\" + name);
    PlantFile(profile + "\\sessions\\autosave.win");
    PlantFile(profile + "\\cookies4.dat");
    Engine.EnableOnly({ciOperaLocationBar});

    EXPECT_EQ(Engine.Run(true), RunLog({ciOperaLocationBar}, 0, 0, 0, 5, "5.00 B"));
    EXPECT_TRUE(Exists(profile + "\\global.dat"));
    Engine.Run(false);
    EXPECT_FALSE(Exists(profile + "\\global.dat"));
    EXPECT_FALSE(Exists(profile + "\\download.dat"));
    EXPECT_FALSE(Exists(profile + "\\sessions\\autosave.win"));
    EXPECT_TRUE(Exists(profile + "\\sessions"));
    EXPECT_TRUE(Exists(profile + "\\cookies4.dat"));
    EXPECT_TRUE(Exists(profile + "\\opera6.ini"));
    RemoveTree(SpecialFolderOf(CSIDL_APPDATA) + "\\Opera");
}

TEST_F(CatalogueBrowsersTest, ItemsWithNothingToEraseWriteTheirLinesOnly) {
    Engine.EnableOnly({ciIEEraseLocationBarURLs, ciIEEraseURLErrorLogs, ciAOLCache,
                       ciAOLLocationBar, ciAOLCookies, ciAOLFormsData});
    EXPECT_EQ(Engine.Run(false),
              RunLog({ciIEEraseLocationBarURLs, ciIEEraseURLErrorLogs, ciAOLCache, ciAOLLocationBar,
                      ciAOLCookies, ciAOLFormsData},
                     0, 0, 0, 0, "0 B"));
}

int CountProcesses(const char* exeName) {
    int count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry))
        if (SameText(ToUtf8(entry.szExeFile), exeName)) ++count;
    CloseHandle(snapshot);
    return count;
}

TEST_F(CatalogueBrowsersTest, AutoCompleteCountsAKeyAndStartsNothingInSimulation) {
    Engine.EnableOnly({ciIEEraseAutoCompleteFormsData, ciIEEraseAutoCompletePaswords});
    const int before = CountProcesses("rundll32.exe");
    EXPECT_EQ(
        Engine.Run(true),
        RunLog({ciIEEraseAutoCompleteFormsData, ciIEEraseAutoCompletePaswords}, 2, 0, 0, 0, "0 B"));
    EXPECT_EQ(CountProcesses("rundll32.exe"), before);
}

// Wine's Internet Options have no AutoComplete dialog: the item gives up after
// its bounded waits, says that it failed, counts nothing and leaves no control panel
// behind.
TEST_F(CatalogueBrowsersTest, AutoCompleteGivesUpAndClosesTheControlPanel) {
    Engine.EnableOnly({ciIEEraseAutoCompleteFormsData});
    const int before = CountProcesses("rundll32.exe");
    const DWORD start = GetTickCount();
    EXPECT_EQ(Engine.Run(false),
              Concat({OpeningLines(),
                      {"Erasing Internet Explorer Auto Complete Forms Data...",
                       "Erasing Internet Explorer Auto Complete Forms Data failed.", ""},
                      ClosingLines(0, 0, 0, 0, "0 B")}));
    EXPECT_LT(GetTickCount() - start, 20000u);
    EXPECT_EQ(CountProcesses("rundll32.exe"), before);
}

} // namespace
