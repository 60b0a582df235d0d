#include "engine/tools/Misc.h"
#include "classlib/base/Registry.h"
#include "classlib/base/XMLDoc.h"
#include <gtest/gtest.h>

namespace {
const char* const IEMainKey = "\\Software\\Microsoft\\Internet Explorer\\Main";

// A "Configuration" root holding what SaveToXML wrote, or the given XML.
struct TPrefs {
    TXMLDocument Doc;
    TXMLNode Root;
    TPrefs() { Root = Doc.CreateDocumentElement("Configuration"); }
    explicit TPrefs(const std::string& xml) {
        Doc.LoadFromXML(xml);
        Root = Doc.DocumentElement();
    }
    [[nodiscard]] TXMLNode Node(const std::string& path) const {
        TXMLNode n = Root.FindNode("Misc");
        for (size_t start = 0; n && start < path.size();) {
            const size_t end = path.find('/', start);
            n = n.FindNode(path.substr(start, end - start));
            start = end == std::string::npos ? path.size() : end + 1;
        }
        return n;
    }
};

std::unique_ptr<TPasswordItem> Password(std::string title, std::string user, std::string password,
                                        std::string url) {
    auto p = std::make_unique<TPasswordItem>();
    p->Title = std::move(title);
    p->UserName = std::move(user);
    p->Password = std::move(password);
    p->URL = std::move(url);
    return p;
}
} // namespace

TEST(Misc, StartsWithTheDefaultHotKeys) {
    const TMisc misc;
    const TShortCut keys[] = {misc.QuickClean,   misc.CleanAndReboot, misc.CleanAndShutDown,
                              misc.StopTask,     misc.StealthModeKey, misc.BossKey,
                              misc.RecycleBinKey};
    std::string texts;
    for (TShortCut key : keys)
        texts += ShortCutToText(key) + " ";
    EXPECT_EQ(texts, "Ctrl+Alt+Q Ctrl+Alt+R Ctrl+Alt+S Ctrl+Alt+T Alt+A Alt+Space Ctrl+Alt+B ");
}

TEST(Misc, SavesAndLoadsItsElement) {
    TMisc misc;
    misc.ProtectStartPage = true;
    misc.ResetStartPageTo = "http://home.example/";
    misc.QuickClean = 0; // cleared by the user
    misc.BossKeyEnabled = true;
    misc.BossKey = TextToShortCut("Shift+F9");
    TPrefs prefs;
    misc.SaveToXML(prefs.Root);

    const TXMLNode shortCuts = prefs.Node("ShortCuts");
    EXPECT_EQ(shortCuts.AttributeNames(),
              (std::vector<std::string>{"QuickClean", "CleanAndReboot", "CleanAndShutDown",
                                        "StopTask", "StealthModeEnabled", "StealthModeKey",
                                        "BossKeyEnabled", "BossKey", "RecycleBinKey"}));
    EXPECT_EQ(shortCuts.Attribute("QuickClean"), "");
    EXPECT_EQ(shortCuts.Attribute("BossKeyEnabled"), "True");
    EXPECT_EQ(prefs.Node("StartPageProtection").Attribute("ProtectStartPage"), "True");

    TMisc loaded;
    loaded.LoadFromXML(prefs.Root);
    EXPECT_EQ(loaded.QuickClean, 0); // stays cleared after a restart
    EXPECT_TRUE(loaded.BossKeyEnabled);
    EXPECT_EQ(ShortCutToText(loaded.BossKey), "Shift+F9");
    EXPECT_TRUE(loaded.ProtectStartPage);
    EXPECT_EQ(loaded.ResetStartPageTo, "http://home.example/");
}

TEST(Misc, LoadKeepsWhatTheFileLacks) {
    TMisc misc;
    misc.Passwords.push_back(Password("kept", "", "", ""));
    misc.LoadFromXML(TPrefs("<Configuration/>").Root);
    EXPECT_EQ(ShortCutToText(misc.QuickClean), "Ctrl+Alt+Q");
    ASSERT_EQ(misc.Passwords.size(), 1u);

    // Protection without "ShortCuts": the password list stays.
    misc.LoadFromXML(TPrefs("<Configuration><Misc><StartPageProtection ProtectStartPage=\"1\" "
                            "ResetStartPageTo=\"about:blank\"/></Misc></Configuration>")
                         .Root);
    EXPECT_TRUE(misc.ProtectStartPage);
    EXPECT_EQ(misc.ResetStartPageTo, "about:blank");
    EXPECT_EQ(misc.Passwords.size(), 1u);

    // Absent or broken attributes keep their values; the rest still loads.
    misc.LoadFromXML(
        TPrefs("<Configuration><Misc><ShortCuts CleanAndReboot=\"Ctrl+F2\" "
               "StealthModeEnabled=\"perhaps\" BossKeyEnabled=\"TRUE\"/>"
               "<Passwords><Item Title=\"phNd3A==\"/></Passwords></Misc></Configuration>")
            .Root);
    EXPECT_EQ(ShortCutToText(misc.QuickClean), "Ctrl+Alt+Q");
    EXPECT_EQ(ShortCutToText(misc.CleanAndReboot), "Ctrl+F2");
    EXPECT_EQ(ShortCutToText(misc.BossKey), "Alt+Space");
    EXPECT_FALSE(misc.StealthModeEnabled);
    EXPECT_TRUE(misc.BossKeyEnabled);
    ASSERT_EQ(misc.Passwords.size(), 1u);
    EXPECT_EQ(misc.Passwords[0]->Title, "mail");
}

// The encrypted texts are slices of one openssl run (see SecretCipherTest.cpp).
TEST(Misc, PasswordsFormOneCipherChain) {
    TMisc misc;
    misc.Passwords.push_back(
        Password("mail", "joe@example.org", "s3cr\u00e9t", "http://mail.example.org/"));
    misc.Passwords.push_back(Password("bank", "joe", "", ""));
    TPrefs prefs;
    misc.SaveToXML(prefs.Root);
    const std::vector<TXMLNode> items = prefs.Node("Passwords").ChildNodes();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].Attribute("Title"), "phNd3A==");
    EXPECT_EQ(items[0].Attribute("UserName"), "IDvFKcQTq4ABQTiriczs");
    EXPECT_EQ(items[0].Attribute("Password"), "hgrbP8x2");
    EXPECT_EQ(items[0].Attribute("URL"), "6csN0SLRowopi0ZV46C/aSYoGVecWGuR");
    EXPECT_EQ(items[1].Attribute("Title"), "GwHoQg==");
    EXPECT_EQ(items[1].Attribute("UserName"), "R9Hy");
    EXPECT_EQ(items[1].Attribute("Password"), "");

    TMisc loaded;
    loaded.LoadFromXML(prefs.Root);
    ASSERT_EQ(loaded.Passwords.size(), 2u);
    EXPECT_EQ(loaded.Passwords[0]->Password, "s3cr\u00e9t");
    EXPECT_EQ(loaded.Passwords[1]->Title, "bank");
    EXPECT_EQ(loaded.Passwords[1]->UserName, "joe");

    // Without the first entry every remaining text changes.
    misc.Passwords.erase(misc.Passwords.begin());
    TPrefs again;
    misc.SaveToXML(again.Root);
    EXPECT_NE(again.Node("Passwords").ChildNodes()[0].Attribute("Title"), "GwHoQg==");
}

// Fields that fit the code page are stored in it, others in UTF-8, in one chain.
TEST(Misc, StoredPasswordsKeepTextsTheCodePageCannotHold) {
    ASSERT_EQ(GetACP(), 1252u);
    TMisc misc;
    misc.Passwords.push_back(Password("\u00e9", "\u5c71\u7530", "\u30d1\u30b9\u00e9", ""));
    TPrefs prefs;
    misc.SaveToXML(prefs.Root);
    EXPECT_EQ(prefs.Node("Passwords").ChildNodes()[0].Attribute("Title"), "Ig==");
    TMisc loaded;
    loaded.LoadFromXML(prefs.Root);
    ASSERT_EQ(loaded.Passwords.size(), 1u);
    EXPECT_EQ(loaded.Passwords[0]->Title, "\u00e9");
    EXPECT_EQ(loaded.Passwords[0]->UserName, "\u5c71\u7530");
    EXPECT_EQ(loaded.Passwords[0]->Password, "\u30d1\u30b9\u00e9");
}

TEST(Misc, AbsentPasswordValueDoesNotAdvanceTheState) {
    // "mail" then, skipping the user name, "joe@example.org" as the password.
    TMisc misc;
    misc.LoadFromXML(TPrefs("<Configuration><Misc><ShortCuts QuickClean=\"Ctrl+Alt+Q\" "
                            "CleanAndReboot=\"\" CleanAndShutDown=\"\" StopTask=\"\"/><Passwords>"
                            "<Entry Title=\"phNd3A==\" Password=\"IDvFKcQTq4ABQTiriczs\"/>"
                            "</Passwords></Misc></Configuration>")
                         .Root);
    ASSERT_EQ(misc.Passwords.size(), 1u);
    EXPECT_EQ(misc.Passwords[0]->UserName, "");
    EXPECT_EQ(misc.Passwords[0]->Password, "joe@example.org");
}

TEST(Misc, RegistersEveryHotKeyButClearedOnesAndThoseOfFeaturesOff) {
    HWND wnd =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HWND other =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(wnd && other);
    TMisc misc;
    misc.HotKeyWindow = wnd;
    misc.RecycleBinKey = 0;
    misc.ApplyHotKeys();
    // A combination held by the first window cannot be taken by another; the stealth
    // and boss keys stay free while their switches are off.
    EXPECT_TRUE(RegisterHotKey(other, 1, MOD_ALT, 'A'));
    EXPECT_TRUE(RegisterHotKey(other, 5, MOD_ALT, VK_SPACE));
    UnregisterHotKey(other, 1);
    UnregisterHotKey(other, 5);
    EXPECT_FALSE(RegisterHotKey(other, 2, MOD_CONTROL | MOD_ALT, 'Q'));
    EXPECT_TRUE(RegisterHotKey(other, 3, MOD_CONTROL | MOD_ALT, 'B'));
    UnregisterHotKey(other, 3);
    misc.StealthModeEnabled = misc.BossKeyEnabled = true;
    misc.ApplyHotKeys();
    EXPECT_FALSE(RegisterHotKey(other, 1, MOD_ALT, 'A'));
    EXPECT_FALSE(RegisterHotKey(other, 5, MOD_ALT, VK_SPACE));
    misc.StealthModeEnabled = misc.BossKeyEnabled = false;
    misc.ApplyHotKeys();

    misc.UnregisterHotKeys();
    EXPECT_TRUE(RegisterHotKey(other, 2, MOD_CONTROL | MOD_ALT, 'Q'));
    UnregisterHotKey(other, 2);

    // The keys that cannot be registered are named: one held elsewhere, one given twice.
    ASSERT_TRUE(RegisterHotKey(other, 4, MOD_CONTROL | MOD_ALT, 'R'));
    misc.StopTask = misc.QuickClean;
    EXPECT_EQ(misc.ApplyHotKeys(), (std::vector<int>{TMisc::hkCleanAndReboot, TMisc::hkStopTask}));
    misc.UnregisterHotKeys();
    UnregisterHotKey(other, 4);
    DestroyWindow(other);
    DestroyWindow(wnd);
}

// The timer's tick is driven by hand: no test waits 3000 ms.
TEST(Misc, StartPageProtection) {
    TRegistry main;
    ASSERT_TRUE(main.OpenKey(IEMainKey, true));
    const std::string saved = main.ReadString("Start Page");
    main.WriteString("Start Page", "http://hijacked.example/");
    TMisc misc;
    ASSERT_EQ(misc.StartPageTimer->Interval(), 3000u);
    ASSERT_TRUE(misc.StartPageTimer->Enabled());
    const auto tick = [&] { misc.StartPageTimer->OnTimer()(misc.StartPageTimer.get()); };
    misc.ResetStartPageTo = "http://home.example/";
    tick(); // protection off
    EXPECT_EQ(main.ReadString("Start Page"), "http://hijacked.example/");

    misc.ProtectStartPage = true;
    tick();
    EXPECT_EQ(main.ReadString("Start Page"), "http://home.example/");

    misc.ResetStartPageTo = ""; // an empty address changes nothing
    main.WriteString("Start Page", "http://hijacked.example/");
    tick();
    EXPECT_EQ(main.ReadString("Start Page"), "http://hijacked.example/");
    main.WriteString("Start Page", saved);
}
