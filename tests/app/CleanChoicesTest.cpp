// A clean as a new user meets it: what was kept stays, what goes is what was listed,
// and the log says what was left and what failed.
#include "ProgramTest.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserEngine.h"
#include "engine/SharedRoutines.h"
#include "engine/catalogue/TypedURLs.h"
#include "support/HostLinks.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <shlobj.h>

namespace {

// Files the test makes in the user's folders, removed again from the host side
// (which reaches every name) at the end.
class CleanChoices : public TProgramTest {
protected:
    struct TPlanted {
        std::string Folder, Name; // the name as the folder lists it
        [[nodiscard]] std::string Path() const { return Folder + "\\" + Name; }
        // Whether the folder's listing shows the name (no path routine splits it wrongly).
        [[nodiscard]] bool Listed() const {
            bool found = false;
            ForEachFile(ExactPath(Folder) + "\\*", [&](const TFindData& entry) {
                found = found || entry.Name == Name;
                return !found;
            });
            return found;
        }
    };
    TPlanted Plant(const std::string& path, const std::string& content) {
        const std::string exact = ExactPath(path);
        for (size_t slash = exact.find('\\', 7); slash != std::string::npos;
             slash = exact.find('\\', slash + 1))
            CreateDirectoryW(ToWide(exact.substr(0, slash)).c_str(), nullptr);
        WriteStringToFile(exact, content);
        Planted.push_back({ExtractFileDir(path), ExtractFileName(path)});
        return Planted.back();
    }
    // A name Windows cannot make, written as another system on the same disk would.
    TPlanted PlantFromHost(const std::string& folder, const std::string& name) {
        Planted.push_back({ExcludeTrailingPathDelimiter(folder), name});
        std::string quoted = "\"";
        quoted += UnixName(folder) + "/" + name + "\"";
        const TPlanted planted = Planted.back();
        EXPECT_TRUE(RunHost("/usr/bin/touch", quoted, [&] { return planted.Listed(); })) << name;
        return planted;
    }
    void TearDown() override {
        std::string arguments = "-rf";
        for (const TPlanted& planted : Planted) {
            const std::string folder = UnixName(planted.Folder);
            if (!folder.empty()) arguments += " \"" + folder + "/" + planted.Name + "\"";
        }
        RunHost("/bin/rm", arguments, [&] {
            return std::none_of(Planted.begin(), Planted.end(),
                                [](const TPlanted& planted) { return planted.Listed(); });
        });
    }
    bool LogHas(const std::string& text) const {
        return WindowText(Memo).find(text) != std::string::npos;
    }
    // The file's bytes, or that it is gone.
    static std::string Read(const TPlanted& planted) {
        return planted.Listed() ? ReadFileToString(ExactPath(planted.Path())) : "(gone)";
    }

    std::vector<TPlanted> Planted;
};

// A look-alike whose name ends in a dot or blank goes, and the kept cookie it would
// be taken for under Win32's trimming stays; a path far beyond 260 characters is
// cleaned; names Windows cannot hold are left and named in the log.
TEST_F(CleanChoices, EveryNameIsTakenExactlyAsListed) {
    const std::string cookies = IncludeTrailingPathDelimiter(SpecialFolder(CSIDL_COOKIES));
    const std::string cache = IncludeTrailingPathDelimiter(SpecialFolder(CSIDL_INTERNET_CACHE));
    const TPlanted kept = Plant(cookies + "root@bank[1].txt", "kept");
    const TPlanted dotted = Plant(cookies + "root@bank[1].txt.", "look-alike");
    const TPlanted blank = Plant(cookies + "root@bank[1].txt ", "look-alike");
    std::string deep = cache;
    for (char part = 'a'; part < 'f'; ++part)
        deep += std::string(60, part) + "\\";
    ASSERT_GT(deep.size(), 300u);
    const TPlanted deepFile = Plant(deep + "deep.htm", "deep");
    Planted.push_back({ExcludeTrailingPathDelimiter(cache), std::string(60, 'a')});
    const TPlanted question = PlantFromHost(cookies, "q?.txt");
    const TPlanted colon = PlantFromHost(cache, "a:b.tmp");
    Program.WritePrefs([](TEraserEngine& engine) {
        engine.Item(ciIEEraseCookies).Enabled = true;
        engine.FileItem(ciIEEraseCookies).Exclude = {"root@bank[1].txt"};
        engine.Item(ciIEEraseCache).Enabled = true;
    });
    StartProgram();
    ASSERT_NO_FATAL_FAILURE(RunRapidErase());

    EXPECT_EQ(Read(kept), "kept");
    EXPECT_FALSE(dotted.Listed());
    EXPECT_FALSE(blank.Listed());
    EXPECT_FALSE(deepFile.Listed());
    EXPECT_FALSE(LogHas("A link")) << WindowText(Memo);
    for (const TPlanted& left : {question, colon}) {
        EXPECT_TRUE(left.Listed()) << left.Name;
        EXPECT_TRUE(LogHas(left.Path() + ": A name Windows cannot hold, left in place"))
            << WindowText(Memo);
    }
    EXPECT_FALSE(FileExists(Program.Dir() + "posterase.dat"));
    CloseProgram();
}

// Twelve typed addresses with three kept: they keep their order ("url2" before
// "url10") under their new numbers, kept by their text as the browser adds two. The AutoComplete
// item, whose dialogs this system does not have, says that it failed and counts
// nothing.
TEST_F(CleanChoices, KeptAddressesKeepTheirOrderAndAnItemThatCannotRunSaysSo) {
    TRegistry reg;
    reg.RootKey = HKEY_CURRENT_USER;
    reg.DeleteKey(TypedURLsKey);
    ASSERT_TRUE(reg.OpenKey(TypedURLsKey, true));
    for (int i = 1; i <= 12; ++i)
        reg.WriteString("url" + IntToStr(i), "http://site" + IntToStr(i) + ".example/");
    Program.WritePrefs([](TEraserEngine& engine) {
        engine.Item(ciIEEraseTypedURLs).Enabled = true;
        engine.RegistryItem(ciIEEraseTypedURLs).ExcludedValues = {"url11", "url2", "url10"};
        engine.Item(ciIEEraseAutoCompleteFormsData).Enabled = true;
    });
    StartProgram();
    for (int i = 14; i > 0; --i) // url3 to url14 hold what url1 to url12 held
        reg.WriteString("url" + IntToStr(i), i > 2 ? "http://site" + IntToStr(i - 2) + ".example/"
                                                   : "http://new" + IntToStr(i));
    ASSERT_NO_FATAL_FAILURE(RunRapidErase());
    std::vector<std::string> names = reg.GetValueNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"url1", "url2", "url3"}));
    EXPECT_EQ(reg.ReadString("url1"), "http://site2.example/");
    EXPECT_EQ(reg.ReadString("url2"), "http://site10.example/");
    EXPECT_EQ(reg.ReadString("url3"), "http://site11.example/");
    EXPECT_TRUE(LogHas("Erasing Internet Explorer Auto Complete Forms Data failed."))
        << WindowText(Memo);
    EXPECT_FALSE(LogHas("Internet Explorer Auto Complete Forms Data Erased."));
    EXPECT_TRUE(LogHas("      Registry Keys Erased    - 0\r\n")) << WindowText(Memo);
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_EQ(saved.RegistryItem(ciIEEraseTypedURLs).KeptTexts.size(), 3u);
    reg.CloseKey();
    reg.DeleteKey(std::string("\\") + TypedURLsKey);
}

// One cookie name in two folders is one keep entry: its rows show one state, so the
// name stays kept while a row shows it ticked, and a clean spares both files.
TEST_F(CleanChoices, TheRowsOfOneCookieNameShareOneKeepState) {
    const std::string cookies = IncludeTrailingPathDelimiter(SpecialFolder(CSIDL_COOKIES));
    const TPlanted first = Plant(cookies + "twice@site.txt", "first");
    const TPlanted second = Plant(cookies + "Other\\twice@site.txt", "second");
    Planted.push_back({ExcludeTrailingPathDelimiter(cookies), "Other"});
    Program.WritePrefs([](TEraserEngine& engine) {
        engine.Item(ciIEEraseCookies).Enabled = true;
        engine.FileItem(ciIEEraseCookies).Exclude = {"twice@site.txt"};
    });
    StartProgram();
    PostClick(Button("Cleaner Settings   "));
    PostClick(Button("Internet Browsers"));
    WaitForPage("TTInternetExplorer");
    PostClick(Button("Keep Cookies"));
    HWND dialog = Program.WaitForWindow("TfKeepCookie");
    ASSERT_NE(dialog, nullptr);
    HWND list = FindChild(dialog, "TListView");
    std::vector<int> rows;
    ASSERT_TRUE(WaitFor([&] {
        rows.clear();
        const std::vector<std::string> captions = ListViewCaptions(list);
        for (size_t i = 0; i < captions.size(); ++i)
            if (captions[i] == "twice@site.txt") rows.push_back(static_cast<int>(i));
        return rows.size() == 2;
    }));
    ListViewCheck(list, rows[0], false);
    for (int row : rows) {
        EXPECT_FALSE(ListViewChecked(list, row)) << row;
        EXPECT_EQ(ListViewText(list, row, 1), "") << row;
    }
    ListViewCheck(list, rows[1], true);
    for (int row : rows) {
        EXPECT_TRUE(ListViewChecked(list, row)) << row;
        EXPECT_EQ(ListViewText(list, row, 1), "Keep") << row;
    }
    PostClick(FindChild(dialog, "TButton", "&OK"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    ASSERT_NO_FATAL_FAILURE(RunRapidErase());
    EXPECT_EQ(Read(first), "first");
    EXPECT_EQ(Read(second), "second");
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_EQ(saved.FileItem(ciIEEraseCookies).Exclude, std::vector<std::string>{"twice@site.txt"});
}

// A kept cookie is the name kept, never a mask: "root@odd[1.txt" is none, "x[1].txt"
// keeps no "x1.txt". A linked Mozilla folder is left and named, as a linked folder is.
TEST_F(CleanChoices, AKeptCookieIsItsNameAndNeverAMask) {
    const std::string cookies = IncludeTrailingPathDelimiter(SpecialFolder(CSIDL_COOKIES));
    const TPlanted odd = Plant(cookies + "root@odd[1.txt", "o"),
                   kept = Plant(cookies + "x[1].txt", "k"), plain = Plant(cookies + "x1.txt", "");
    const std::string mozilla = SpecialFolder(CSIDL_APPDATA) + "\\Mozilla";
    ASSERT_TRUE(MakeHostLink(mozilla, cookies));
    Program.WritePrefs([](TEraserEngine& engine) {
        engine.Item(ciIEEraseCookies).Enabled = true;
        engine.Item(ciNetscapeMozillaCookies).Enabled = true;
        engine.FileItem(ciIEEraseCookies).Exclude = {"root@odd[1.txt", "x[1].txt"};
    });
    StartProgram();
    ASSERT_NO_FATAL_FAILURE(RunRapidErase());
    EXPECT_EQ(Read(odd) + Read(kept) + Read(plain), "ok(gone)");
    EXPECT_TRUE(LogHas(mozilla + ": A link, left in place with its target")) << WindowText(Memo);
    CloseProgram();
    RemoveHostLinks({mozilla});
}

// Registry links below a plug-in's and an item's key go as themselves or stay, never
// their target; a start page of another type is put back as text.
TEST_F(CleanChoices, RegistryLinksAreNeverFollowedAndTheStartPageIsPutBack) {
    const std::string victim = "Software\\TwVictim", pt = "Software\\TwPT\\";
    const std::string mru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU\\";
    TRegistry machine, user;
    machine.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(machine.OpenKey(victim + "\\Sub", true) &&
                user.OpenKey("Software\\Microsoft\\Internet Explorer\\Main", true));
    const std::wstring target = ToWide("\\Registry\\Machine\\" + victim);
    for (const std::string& key : {pt + "LinkCache", pt + "MyCache\\In", pt + "Vs", mru + "Link"}) {
        TRegKey link;
        RegCreateKeyExW(HKEY_CURRENT_USER, ToWide(key).c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                        KEY_ALL_ACCESS, nullptr, link.Out(), nullptr);
        RegSetValueExW(link.Get(), L"SymbolicLinkValue", 0, REG_LINK,
                       reinterpret_cast<const BYTE*>(target.data()),
                       static_cast<DWORD>(target.size() * 2));
    }
    const std::string plugin = Program.Dir() + "links.ppw",
                      action = "<A RootKey=\"2147483649\" Path=\"" + pt;
    WriteStringToFile(plugin,
                      "<Plugin><RegistryActions>" + action +
                          "\" ActionType=\"1\" KeyContains=\"cache\"/>" + action +
                          "Vs\" ActionType=\"3\" ValueContains=\"v\"/></RegistryActions></Plugin>");
    Program.WritePrefs([&](TEraserEngine& engine) {
        engine.Item(ciEraseRunHistory).Enabled = engine.Misc->ProtectStartPage = true;
        engine.Misc->ResetStartPageTo = "http://home/";
        engine.PluginManager->CheckedPlugins.Add(plugin);
    });
    StartProgram();
    ASSERT_NO_FATAL_FAILURE(RunRapidErase());
    EXPECT_TRUE(machine.OpenKey("\\" + victim + "\\Sub", false));
    for (const std::string& key : {pt + "LinkCache", pt + "MyCache", mru})
        EXPECT_FALSE(user.KeyExists("\\" + key)) << key;
    for (const std::string& line : {pt + "LinkCache: A registry link, removed without its target",
                                    pt + "MyCache\\In: A registry link, removed",
                                    pt + "Vs: A registry link, left in place with its target",
                                    mru + "Link: A registry link, removed"})
        EXPECT_TRUE(LogHas("HKEY_CURRENT_USER\\" + line)) << line << WindowText(Memo);
    std::string page;
    for (DWORD type : {REG_MULTI_SZ, REG_BINARY, REG_DWORD}) {
        RegSetValueExW(user.CurrentKey(), L"Start Page", 0, type,
                       reinterpret_cast<const BYTE*>(L"x\0"), 4);
        EXPECT_TRUE(WaitFor([&] {
            return user.TryReadString("Start Page", page) && page == "http://home/";
        })) << type;
    }
    CloseProgram();
    machine.DeleteKey("\\" + victim);
    user.DeleteKey("\\" + pt);
}

} // namespace
