// The stored passwords, the options page and the settings file as a person meets
// them across restarts: damaged files, options changed while the program runs, and a
// program folder that cannot take the settings.
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "classlib/base/XMLDoc.h"
#include "engine/EraserEngine.h"
#include "engine/settings/SecretCipher.h"
#include <gtest/gtest.h>

namespace {

void AddPassword(TEraserEngine& engine, const char* title, const char* password) {
    auto entry = std::make_unique<TPasswordItem>();
    entry->Title = title;
    entry->UserName = "joe";
    entry->Password = password;
    entry->URL = "example.org";
    engine.Misc->Passwords.push_back(std::move(entry));
}

class PasswordAndOptions : public TProgramTest {
protected:
    HWND ShowPasswordManager() {
        HWND page = ShowPage("PC Manager          ", "TTStartupManager");
        NextTab(page);
        return FindChild(WaitForPage("TfraPasswordManager"), "TListView");
    }
    [[nodiscard]] std::string Prefs() const { return Program.Dir() + "prefs.dat"; }
};

// A file without hot keys still holds the user's passwords, and one that cannot be
// read is damage: the list loads, and the file is kept before the close replaces it.
TEST_F(PasswordAndOptions, StoredPasswordsOfADamagedFileLoadAndTheFileIsKeptAside) {
    Program.WritePrefs([](TEraserEngine& engine) {
        AddPassword(engine, "Mail", "pw-one");
        AddPassword(engine, "Bank", "pw-two");
    });
    TXMLDocument doc;
    doc.LoadFromFile(Prefs());
    TXMLNode misc = doc.DocumentElement().FindNode("Misc");
    misc.RemoveChild(misc.FindNode("ShortCuts"));
    misc.FindNode("Passwords").ChildNodes()[1].SetAttribute("URL", "not Base64");
    doc.SaveToFile(Prefs());
    const std::string damaged = ReadFileToString(Prefs());

    StartProgram();
    EXPECT_TRUE(LogShows("The settings file is damaged")) << WindowText(Memo);
    HWND list = ShowPasswordManager();
    ASSERT_EQ(ListViewCaptions(list), (std::vector<std::string>{"Mail", "Bank"}));
    EXPECT_EQ(ListViewText(list, 0, 2), "pw-one");
    EXPECT_EQ(ListViewText(list, 1, 2), "pw-two");
    CloseProgram();
    EXPECT_EQ(ReadFileToString(Prefs() + ".damaged"), damaged);
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    ASSERT_EQ(saved.Misc->Passwords.size(), 2u);
    EXPECT_EQ(saved.Misc->Passwords[1]->Password, "pw-two");
}

// An added password outlives a kill; a value that does not decode ends the list, named, scrambling
// none after it. A ticked plug-in that cannot be read keeps its tick.
TEST_F(PasswordAndOptions, PasswordsOutliveAKillAndADamagedValueScramblesNone) {
    const std::string plugin = Program.Dir() + "Plugins\\held.ppw";
    ForceDirectories(ExtractFilePath(plugin));
    WriteStringToFile(plugin, "<?xml version=\"1.0\"?><Plugin Name=\"Held\" Version=\"1\"/>");
    Program.WritePrefs([&](TEraserEngine& engine) {
        for (const char* title : {"Mail", "Bank", "Shop"})
            AddPassword(engine, title, "pw");
        engine.PluginManager->CheckedPlugins.Add(plugin);
    });
    std::string damaged = ReadFileToString(Prefs()); // Bank's password made not Base64
    damaged.insert(
        damaged.find("Password=", damaged.find("Password=", damaged.find("<Pass")) + 1) + 10, "!");
    WriteStringToFile(Prefs(), damaged);
    {
        const TFileHandle held(
            CreateFileA(plugin.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0));
        ASSERT_TRUE(Program.Start());
        Answer(Box("could not be loaded"), IDOK);
        WaitForMain();
        HWND page = ShowPage("Plug-ins                  ", "TTPlugins");
        SendMessageA(FindChild(page, "TButton", "&Select All"), BM_CLICK, 0, 0);
    }
    EXPECT_TRUE(LogShows("\"Bank\" could not be read whole; the one after it was left out."));
    HWND list = ShowPasswordManager();
    ASSERT_EQ(ListViewCaptions(list), (std::vector<std::string>{"Mail", "Bank"}));
    EXPECT_EQ(ListViewText(list, 1, 1) + ListViewText(list, 1, 2), "joe");
    PressFlatButton(GetParent(list), fbFirst, true);
    HWND dialog = Program.WaitForWindow("TfEditPasswordManager");
    SetText(FindChild(dialog, "TEdit"), "Forum");
    PostClick(FindChild(dialog, "TButton", "&OK"));
    ASSERT_TRUE(WaitFor([&] {
        const std::string now = TextOnceWritten(Prefs());
        return !now.empty() && now != damaged;
    }));
    ASSERT_TRUE(Program.Kill());
    EXPECT_EQ(ReadFileToString(Prefs() + ".damaged"), damaged);
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_EQ(saved.PluginManager->CheckedPlugins.Count(), 1);
    StartProgram();
    EXPECT_EQ(ListViewCaptions(ShowPasswordManager()),
              (std::vector<std::string>{"Mail", "Bank", "Forum"}));
    CloseProgram();
}

// Secrets whose code page bytes are also valid UTF-8, and secrets the code page cannot
// hold, come back as they were set: the access password opens the program, and the
// stored passwords show and are saved unchanged.
TEST_F(PasswordAndOptions, SecretsComeBackAsTheyWereSet) {
    const std::string access = "Ma\u00df\u00a71";
    const std::vector<std::string> secrets = {"\u00dc\u20ac", "\u00c2\u20acx", "\u00e6\u2013\u2021",
                                              "\u6587", "Gr\u00fc\u00dfe \u6587"};
    Program.WritePrefs([&](TEraserEngine& engine) {
        engine.AccessPassword = access;
        for (const std::string& secret : secrets)
            AddPassword(engine, secret.c_str(), secret.c_str());
    });
    StartWithPassword(access);
    HWND list = ShowPasswordManager();
    ASSERT_EQ(ListViewCount(list), static_cast<int>(secrets.size()));
    for (size_t i = 0; i < secrets.size(); ++i)
        EXPECT_EQ(ListViewText(list, static_cast<int>(i), 2), secrets[i]) << i;
    CloseProgram();

    // The access password fits code page 1252: its bytes there, as other builds write it.
    const std::string stored = "Access=\"" +
                               TSecretCipher().Encrypt("Ma\xdf\xa7"
                                                       "1") +
                               "\"";
    EXPECT_NE(ReadFileToString(Prefs()).find(stored), std::string::npos);
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_EQ(saved.AccessPassword, access);
    ASSERT_EQ(saved.Misc->Passwords.size(), secrets.size());
    for (size_t i = 0; i < secrets.size(); ++i)
        EXPECT_EQ(saved.Misc->Passwords[i]->Password, secrets[i]) << i;
}

// "Auto Clean when Windows Starts" ticked while the program runs waits for the next
// start: switching windows meanwhile cleans nothing.
TEST_F(PasswordAndOptions, AutoCleanTickedWhileRunningWaitsForTheNextStart) {
    Program.WritePrefs([](TEraserEngine&) {});
    StartProgram();
    HWND page = ShowPage("Run Options       ", "TTOptions");
    SendMessageA(FindChild(page, "TCheckBox", "Auto Clean when Windows Starts"), BM_CLICK, 0, 0);
    SendMessageA(Main, WM_ACTIVATE, WA_INACTIVE, 0);
    SendMessageA(Main, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(WindowText(Memo).find("Cleaning Completed!"), std::string::npos) << WindowText(Memo);
    CloseProgram();

    StartProgram();
    EXPECT_TRUE(LogShows("Cleaning Completed!")) << WindowText(Memo);
    CloseProgram();
}

// Settings that cannot be written at the close are told, not lost unseen.
TEST_F(PasswordAndOptions, SettingsThatCannotBeWrittenAreTold) {
    ASSERT_TRUE(CreateDirectoryA(Prefs().c_str(), nullptr));
    StartProgram();
    PostMessageA(Main, WM_CLOSE, 0, 0);
    HWND box = Box("The settings could not be saved");
    Answer(box, IDOK);
    ASSERT_TRUE(Program.WaitForExit());
    EXPECT_FALSE(FileExists(Prefs() + ".tmp"));
}

} // namespace
