// What a user set survives the running program: texts with odd characters, the daily
// schedule across daily starts, Internet Explorer values other programs change while
// the page is open, AutoFind values the page cannot show, and wipe files the program
// cannot read. Each is checked across a restart against the files and the registry.
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "classlib/base/Registry.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserEngine.h"
#include "support/Clipboard.h"
#include "support/RandomText.h"
#include <gtest/gtest.h>
#include <random>

namespace {

const char* const IEMainKey = "Software\\Microsoft\\Internet Explorer\\Main";
const char* const ShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const UrlTemplateKey = "SOFTWARE\\Microsoft\\Internet Explorer\\Main\\UrlTemplate";

std::string ReadValue(const std::string& key, const std::string& name) {
    TRegistry reg(KEY_READ);
    return reg.OpenKey(key, false) && reg.ValueExists(name) ? reg.ReadString(name) : "<none>";
}

void WriteValue(const std::string& key, const std::string& name, const std::string& value) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(key, true));
    reg.WriteString(name, value);
}

// The registry values a test changes, put back at its end.
class TSavedValues {
public:
    explicit TSavedValues(std::vector<std::pair<std::string, std::string>> values)
        : FValues(std::move(values)) {
        for (const auto& [key, name] : FValues)
            FOld.push_back(ReadValue(key, name));
    }
    TSavedValues(const TSavedValues&) = delete;
    TSavedValues& operator=(const TSavedValues&) = delete;
    ~TSavedValues() {
        for (size_t i = 0; i < FValues.size(); ++i) {
            TRegistry reg;
            if (!reg.OpenKey(FValues[i].first, false)) continue;
            if (FOld[i] == "<none>")
                reg.DeleteValue(FValues[i].second);
            else
                reg.WriteString(FValues[i].second, FOld[i]);
        }
    }

private:
    std::vector<std::pair<std::string, std::string>> FValues;
    std::vector<std::string> FOld;
};

// A window of the test to own what it puts on the clipboard.
HWND ClipboardOwner() {
    static HWND owner =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    return owner;
}

// What a one-line setting keeps of a pasted text.
std::wstring OneLine(const std::wstring& text) {
    std::wstring kept;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            kept += text.substr(i++, 2);
        } else if (c >= 0x20 && c != 0x7F && (c < 0xD800 || c > 0xDFFF) && c < 0xFFFE) {
            kept += c;
        }
    }
    return kept;
}

std::wstring WideText(HWND wnd) {
    std::wstring text(4096, L'\0');
    text.resize(SendMessageW(wnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    return text;
}

void SetWideText(HWND wnd, const std::wstring& text) {
    SendMessageW(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

class SettingsKept : public TProgramTest {
protected:
    HWND ShowInternetExplorerPage() {
        HWND page = ShowPage("User settings         ", "TTMiscShortCutKeys");
        NextTab(page);
        return WaitForPage("TTinternetExplorerSettings");
    }
    static HWND Edit(HWND page, const char* group, int row) {
        return Children(FindChild(page, "TGroupBox", group), "TEdit").at(row);
    }
    void Save(HWND page) { SendMessageA(FindChild(page, "TButton", "&Save"), BM_CLICK, 0, 0); }
    void SetClock(TDateTime moment) const {
        char text[32];
        snprintf(text, sizeof(text), "%.8f", moment);
        // The program may be reading the file: the write is tried again.
        ASSERT_TRUE(WaitFor([&] {
            try {
                WriteStringToFileAtomically(ClockFile(), text);
                return true;
            } catch (const Exception&) {
                return false;
            }
        }));
    }
    [[nodiscard]] std::string ClockFile() const { return Program.Dir() + "clock.txt"; }
    // With a password, the clock moves on to `then` while its box is open.
    void StartAtClock(const std::string& password = "", TDateTime then = 0) {
        SetEnvironmentVariableA("TW_CLOCK_FILE", ClockFile().c_str());
        password.empty() ? StartProgram() : StartWithPassword(password, [&] { SetClock(then); });
        SetEnvironmentVariableA("TW_CLOCK_FILE", nullptr);
    }
};

} // namespace

// "Daily at 12:00" for a program started every morning fires at noon of each day.
TEST_F(SettingsKept, ADailyScheduleFiresOnTheDayOfEachStart) {
    Program.WritePrefs([](TEraserEngine& engine) {
        engine.Scheduler->Kind = skDaily;
        engine.Scheduler->DailyTime = EncodeTime(12, 0, 0, 0);
        engine.Scheduler->SetEnabled(true);
    });
    for (int day = 7; day <= 8; ++day) {
        SetClock(EncodeDate(2030, 1, day) + EncodeTime(8, 0, 0, 0));
        StartAtClock();
        SetClock(EncodeDate(2030, 1, day) + EncodeTime(12, 0, 30, 0));
        EXPECT_TRUE(LogShows("Cleaning Completed!")) << "day " << day << "\n" << WindowText(Memo);
        CloseProgram();
    }
}

// Started each morning behind the password box, "every 2 weeks on Tuesday" and "every
// 7 days" run a span after the last run kept, the run falling due while the box is
// open. A clock then set back behind the last run counts it as now.
TEST_F(SettingsKept, SchedulesCountFromTheLastRunAcrossRestartsAndClockChanges) {
    for (const bool weekly : {true, false}) {
        Program.WritePrefs([&](TEraserEngine& engine) {
            engine.AccessPassword = "gate";
            TScheduler& s = *engine.Scheduler;
            s.Kind = weekly ? skWeekly : skDaily;
            s.DailyDays = 7;
            s.WeeklyWeeks = 2;
            s.WeeklyDays[1] = true;
            s.DailyTime = s.WeeklyTime = EncodeTime(13, 30, 0, 0);
            s.SetEnabled(true);
            s.LastRun = EncodeDate(2030, 1, 1) + s.DailyTime; // a Tuesday
        });
        for (const int day : {2, 8, 15}) {
            SetClock(EncodeDate(2030, 1, day) + EncodeTime(8, 0, 0, 0));
            StartAtClock("gate", EncodeDate(2030, 1, day) + EncodeTime(14, 0, 0, 0));
            const bool due = day >= (weekly ? 15 : 8);
            EXPECT_EQ(LogShows("Cleaning Completed!", due ? 20000 : 3000), due) << day << weekly;
            if (day == 15 && !weekly) break;
            CloseProgram();
        }
    }
    SetText(Memo, "");
    TDateTime now = EncodeDate(2030, 1, 1);
    EXPECT_TRUE(WaitFor([&] { // an hour passes at every look, up to before the old next run
        if (now < EncodeDate(2030, 1, 22)) SetClock(now += 1.0 / 24);
        return WindowText(Memo).find("Cleaning Completed!") != std::string::npos;
    })) << WindowText(Memo);
    CloseProgram();
}

// Random texts pasted into "Reset to:" lose what a setting cannot hold; texts that reach
// it another way are written so that the file still reads: after a restart the text is
// shown, and the stored password is loaded and saved again.
TEST_F(SettingsKept, OddTextsInASettingNeverCostTheOtherSettings) {
    Program.WritePrefs([](TEraserEngine& engine) {
        auto entry = std::make_unique<TPasswordItem>();
        entry->Title = "Mail";
        entry->Password = "pw";
        engine.Misc->Passwords.push_back(std::move(entry));
    });
    const unsigned seed = std::random_device()();
    std::mt19937 rng(seed);
    StartProgram();
    HWND page = ShowInternetExplorerPage();
    HWND reset = Edit(page, "Start Page Protection", 0);
    for (int round = 0; round < 8; ++round) {
        const std::wstring text = L"x" + RandomText(rng, 40);
        SetWideText(reset, L"");
        PutOnClipboard(ClipboardOwner(), text);
        SendMessageW(reset, WM_PASTE, 0, 0);
        ASSERT_EQ(WideText(reset), OneLine(text)) << "seed " << seed << " round " << round;
    }
    std::wstring typed = L"x";
    while (typed.size() < 60)
        typed += RandomText(rng, 40);
    typed += L"\x0B\x01\xD800";
    SetWideText(reset, typed);
    Save(page);
    CloseProgram();

    StartProgram();
    page = ShowInternetExplorerPage();
    const std::wstring back = WideText(Edit(page, "Start Page Protection", 0));
    ASSERT_EQ(back.size(), typed.size()) << "seed " << seed;
    for (size_t i = 0; i < typed.size(); ++i)
        if (back[i] != typed[i]) {
            EXPECT_EQ(back[i], 0xFFFD) << "seed " << seed << " at " << i;
        }
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    ASSERT_EQ(saved.Misc->Passwords.size(), 1u) << "seed " << seed;
    EXPECT_EQ(saved.Misc->Passwords[0]->Password, "pw");
    EXPECT_EQ(ToWide(saved.Misc->ResetStartPageTo), back);
}

// The page shows what the registry holds when it is shown, and Save writes only the
// values changed on it: a start page and a Favorites folder set meanwhile by other
// programs stay.
TEST_F(SettingsKept, TheInternetExplorerPageWritesOnlyWhatWasChangedOnIt) {
    const TSavedValues saved({{IEMainKey, "Start Page"},
                              {IEMainKey, "Window Title"},
                              {IEMainKey, "Favorites"},
                              {ShellFoldersKey, "Favorites"}});
    WriteValue(IEMainKey, "Start Page", "http://at-start.example/");
    WriteValue(ShellFoldersKey, "Favorites", "C:\\At Start Favorites");
    StartProgram();
    HWND page = ShowInternetExplorerPage();
    HWND startPage = Edit(page, " Internet Explorer Home Page ", 1);
    EXPECT_EQ(WindowText(startPage), "http://at-start.example/");

    WriteValue(IEMainKey, "Start Page", "http://other-program.example/");
    NextTab(page);
    WaitForPage("TTScheduler");
    PressKey(GetParent(GetParent(page)), VK_LEFT);
    page = WaitForPage("TTinternetExplorerSettings");
    EXPECT_EQ(WindowText(startPage), "http://other-program.example/");
    WriteValue(ShellFoldersKey, "Favorites", "C:\\Other Favorites");
    HWND title = Edit(page, " Internet Explorer Home Page ", 0);
    SetText(title, "My Title");
    // What is typed and not yet saved stays through a visit to another tab.
    NextTab(page);
    WaitForPage("TTScheduler");
    PressKey(GetParent(GetParent(page)), VK_LEFT);
    page = WaitForPage("TTinternetExplorerSettings");
    EXPECT_EQ(WindowText(title), "My Title");
    Save(page);
    EXPECT_EQ(ReadValue(IEMainKey, "Window Title"), "My Title");
    EXPECT_EQ(ReadValue(IEMainKey, "Start Page"), "http://other-program.example/");
    EXPECT_EQ(ReadValue(ShellFoldersKey, "Favorites"), "C:\\Other Favorites");

    // Changed twice on the page: the second save writes it again.
    WriteValue(IEMainKey, "Start Page", "http://third.example/");
    SetText(startPage, "about:blank");
    Save(page);
    EXPECT_EQ(ReadValue(IEMainKey, "Start Page"), "about:blank");
    SetText(startPage, "http://mine.example/");
    Save(page);
    EXPECT_EQ(ReadValue(IEMainKey, "Start Page"), "http://mine.example/");
    EXPECT_EQ(ReadValue(IEMainKey, "Window Title"), "My Title");
    CloseProgram();
}

// An AutoFind value of another type among the texts: the dialog lists every text
// around it, Save names it once and deletes nothing.
TEST_F(SettingsKept, AutoFindValuesOfAnotherTypeHideAndCostNothing) {
    {
        TRegistry reg;
        reg.RootKey = HKEY_LOCAL_MACHINE;
        ASSERT_TRUE(reg.OpenKey(UrlTemplateKey, true));
        for (const std::string& name : reg.GetValueNames())
            reg.DeleteValue(name);
        reg.WriteString("1", "http://one.example/%s");
        reg.WriteString("2", "http://two.example/%s");
        reg.WriteInteger("3", 7);
        reg.WriteString("4", "http://four.example/%s");
    }
    StartProgram();
    HWND page = ShowInternetExplorerPage();
    PostClick(FindChild(page, "TButton", "Edit AutoFind"));
    HWND dialog = Program.WaitForWindow("TfEditIEAutoFind");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ListViewCaptions(FindChild(dialog, "TListView")),
              (std::vector<std::string>{"http://one.example/%s", "http://two.example/%s",
                                        "http://four.example/%s"}));
    PostClick(FindChild(dialog, "TButton", "&Add"));
    HWND input = Program.WaitForWindow("TInputBoxForm");
    ASSERT_NE(input, nullptr);
    SetText(FindChild(input, "TEdit"), "http://five.example/%s");
    PostClick(FindChild(input, "TButton", "OK"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(input) || !IsWindowVisible(input); }));
    PostClick(FindChild(dialog, "TButton", "&OK"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    PostClick(FindChild(page, "TButton", "&Save"));
    Answer(Box("values that are not text are not listed and are kept: 3"), IDOK);
    Save(page); // said once: no second box
    CloseProgram();

    TRegistry reg(KEY_READ);
    reg.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(reg.OpenKey(UrlTemplateKey, false));
    EXPECT_EQ(reg.ReadInteger("3"), 7);
    EXPECT_EQ(reg.ReadString("1"), "http://one.example/%s");
    EXPECT_EQ(reg.ReadString("2"), "http://two.example/%s");
    EXPECT_EQ(reg.ReadString("4"), "http://four.example/%s");
    EXPECT_EQ(reg.ReadString("5"), "http://five.example/%s");
    EXPECT_EQ(reg.GetValueNames().size(), 5u);
}

// A method file and "options.ini" the program cannot read as they stand are copied
// aside before its end rewrites them, and the log says so once.
TEST_F(SettingsKept, DamagedWipeFilesAreKeptBeforeTheEndRewritesThem) {
    const std::string methods = Program.Dir() + "Methods\\";
    ASSERT_TRUE(CreateDirectoryA(methods.c_str(), nullptr));
    const std::string method = "[Method]\r\nName=Mine\r\nPasses=3\r\n[Pass1]\r\nWipeWith=two\r\n";
    const std::string options = "[Settings]\r\nBufferSize=64k\r\nWriteSignature=1\r\n";
    const std::string sound = "[Method]\r\nName=Sound\r\nPasses=0\r\n";
    WriteStringToFile(methods + "mine.mtd", method);
    WriteStringToFile(methods + "sound.mtd", sound);
    WriteStringToFile(Program.Dir() + "options.ini", options);
    StartProgram();
    EXPECT_TRUE(LogShows("\"options.ini\" is damaged")) << WindowText(Memo);
    EXPECT_TRUE(LogShows("\"mine.mtd\" is damaged")) << WindowText(Memo);
    const std::string log = WindowText(Memo);
    EXPECT_EQ(log.find("\"sound.mtd\""), std::string::npos) << log;
    EXPECT_EQ(log.find("\"mine.mtd\""), log.rfind("\"mine.mtd\"")) << log;
    CloseProgram();
    EXPECT_EQ(ReadFileToString(methods + "mine.mtd.damaged"), method);
    EXPECT_EQ(ReadFileToString(Program.Dir() + "options.ini.damaged"), options);
    EXPECT_FALSE(FileExists(methods + "sound.mtd.damaged"));
    EXPECT_NE(ReadFileToString(Program.Dir() + "options.ini"), options); // rewritten

    StartProgram(); // the rewritten files read as they stand
    EXPECT_EQ(WindowText(Memo).find("is damaged"), std::string::npos) << WindowText(Memo);
    CloseProgram();
}
