#include "app/FinishingMode.h"
#include "ProgramRun.h"

#include "classlib/base/Registry.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/PostEraserItem.h"
#include <gtest/gtest.h>

TEST(FinishingMode, OnlyAnExactFirstArgumentSelectsIt) {
    EXPECT_TRUE(IsFinishingMode({"/cleanup"}));
    EXPECT_TRUE(IsFinishingMode({"/cleanup", "more"}));
    EXPECT_FALSE(IsFinishingMode({}));
    EXPECT_FALSE(IsFinishingMode({"/CLEANUP"}));
    EXPECT_FALSE(IsFinishingMode({"-cleanup"}));
    EXPECT_FALSE(IsFinishingMode({"/cleanup "}));
    EXPECT_FALSE(IsFinishingMode({"other", "/cleanup"}));
}

namespace {

const char* const TestKey = "Software\\TarnwhistleTests\\FinishingMode";
const char* const FinishedText = "System Clean finished. The system must be restarted.";

// Tarnwhistle.exe of this build, copied into a folder with a blank in its name and
// started with "/cleanup"; ExitWindowsEx is only logged (TW_EXITWINDOWS_LOG).
class FinishingModeRun : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FileExists(ProgramDir + "Tarnwhistle.exe")) << BuiltProgram();
        Reg.RootKey = HKEY_CURRENT_USER;
        Reg.DeleteKey(TestKey);
        ASSERT_TRUE(Reg.OpenKey(TestKey, true));
        TRegistry runOnce;
        runOnce.RootKey = HKEY_LOCAL_MACHINE;
        ASSERT_TRUE(runOnce.OpenKey(RunOnceKey, true));
        runOnce.WriteString(RunOnceValue,
                            Format("\"%sTarnwhistle.exe\" /cleanup", ProgramDir.c_str()));
    }
    void TearDown() override {
        Reg.CloseKey();
        Reg.DeleteKey(TestKey);
    }

    // Starts the program and waits for its message box; returns it (or nullptr).
    HWND StartAndWaitForMessageBox() {
        const std::string log = ProgramDir + "exitwindows.log";
        SetEnvironmentVariableA("TW_EXITWINDOWS_LOG", log.c_str());
        const bool started = Program.Start("/cleanup");
        SetEnvironmentVariableA("TW_EXITWINDOWS_LOG", nullptr);
        return started ? Program.WaitForWindow("#32770") : nullptr;
    }

    void PressOkAndWaitForExit(HWND box) {
        HWND ok = GetDlgItem(box, IDOK);
        ASSERT_NE(ok, nullptr);
        SendMessageA(ok, BM_CLICK, 0, 0);
        ASSERT_TRUE(Program.WaitForExit());
    }

    void ExpectCleanedUpAndRestartRequested() {
        EXPECT_FALSE(FileExists(ProgramDir + "posterase.dat"));
        TRegistry runOnce(KEY_READ);
        runOnce.RootKey = HKEY_LOCAL_MACHINE;
        ASSERT_TRUE(runOnce.OpenKeyReadOnly(RunOnceKey));
        EXPECT_FALSE(runOnce.ValueExists(RunOnceValue));
        EXPECT_EQ(ReadFileToString(ProgramDir + "exitwindows.log"), "2"); // EWX_REBOOT
    }

    TProgramRun Program{"Program Dir"};
    const std::string ProgramDir = Program.Dir();
    TRegistry Reg;
};

} // namespace

TEST_F(FinishingModeRun, CarriesOutTheDeferredWorkThenAsksForARestart) {
    WriteStringToFile(ProgramDir + "in use.dat", "x");
    WriteStringToFile(ProgramDir + "readonly.dat", "x");
    FileSetAttr(ProgramDir + "readonly.dat", FILE_ATTRIBUTE_READONLY);
    WriteStringToFile(ProgramDir + "autoexec.bat", "@echo off\r\nDEL C:\\WIN386.SWP\r\n");
    TPostEraser deferred;
    deferred.FileName = ProgramDir + "posterase.dat";
    auto add = [&](uint8_t type, const std::string& file, const std::string& name,
                   const std::string& data, const std::string& line) {
        const HKEY root =
            type == ptWriteString || type == ptWriteInteger ? HKEY_CURRENT_USER : nullptr;
        deferred.Add(PostEraserItem(type, file, root, root ? TestKey : "", name, data, line));
    };
    add(ptDeleteFile, ProgramDir + "in use.dat", "", "", "");
    add(ptDeleteFile, ProgramDir + "readonly.dat", "", "", "");
    add(9, ProgramDir + "autoexec.bat", "", "", "");
    add(ptWriteString, "", "Text", "restored", "");
    add(ptWriteInteger, "", "ClearPageFileAtShutdown", "0", "");
    add(ptRemoveLine, ProgramDir + "autoexec.bat", "", "", "del c:\\win386.swp");
    deferred.SaveToFile();

    HWND box = StartAndWaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), "Tarnwhistle");
    EXPECT_NE(MessageBoxText(box).find(FinishedText), std::string::npos) << MessageBoxText(box);
    EXPECT_EQ(Program.FindWindowOfClass("TfProgress"), nullptr); // closed before the box shows
    PressOkAndWaitForExit(box);

    EXPECT_FALSE(FileExists(ProgramDir + "in use.dat"));
    EXPECT_FALSE(FileExists(ProgramDir + "readonly.dat"));
    EXPECT_EQ(ReadFileToString(ProgramDir + "autoexec.bat"), "@echo off\r\n");
    EXPECT_EQ(Reg.ReadString("Text"), "restored");
    EXPECT_EQ(Reg.ReadInteger("ClearPageFileAtShutdown"), 0);
    ExpectCleanedUpAndRestartRequested();
}

TEST_F(FinishingModeRun, WithoutDeferredWorkItStillAsksForARestart) {
    HWND box = StartAndWaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find(FinishedText), std::string::npos) << MessageBoxText(box);
    PressOkAndWaitForExit(box);
    ExpectCleanedUpAndRestartRequested();
}

// What could be read is carried out; the damaged file is kept aside before it is
// deleted, and the one message says so.
TEST_F(FinishingModeRun, ADamagedFileIsCarriedOutAsFarAsItReadsAndKeptAside) {
    WriteStringToFile(ProgramDir + "in use.dat", "x");
    const std::string damaged =
        "<?xml version=\"1.0\"?>\r\n<PostEraser>\r\n"
        "  <Item Type=\"1\" FileName=\"" +
        ProgramDir +
        "in use.dat\" RootKey=\"0\" Key=\"\" "
        "ValueName=\"\" ValueData=\"\" BATLine=\"\"/>\r\n"
        "  <Item Type=\"2\" FileName=\"\" RootKey=\"8\" Key=\"x\" ValueName=\"v\" "
        "ValueData=\"d\" BATLine=\"\"/>\r\n</PostEraser>\r\n";
    WriteStringToFile(ProgramDir + "posterase.dat", damaged);

    HWND box = StartAndWaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              std::string(FinishedText) +
                  "\r\n\r\nThe file of work for the next start is damaged: what "
                  "could be read was kept, and the file was kept as " +
                  ProgramDir + "posterase.dat.damaged.");
    PressOkAndWaitForExit(box);
    EXPECT_FALSE(FileExists(ProgramDir + "in use.dat"));
    EXPECT_EQ(ReadFileToString(ProgramDir + "posterase.dat.damaged"), damaged);
    ExpectCleanedUpAndRestartRequested();
}

// A deferred file still held open at the next start is kept, read-only, for the start
// after it, registered again, and the message names it; the rest is carried out.
TEST_F(FinishingModeRun, AFileStillHeldOpenIsKeptForTheNextStartAndNamed) {
    const std::string held = ProgramDir + "held open.dat", free = ProgramDir + "free.dat";
    WriteStringToFile(held, "held");
    WriteStringToFile(free, "free");
    for (const std::string& file : {held, free})
        FileSetAttr(file, FILE_ATTRIBUTE_READONLY);
    TFileHandle lock(
        CreateFileW(ToWide(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    TPostEraser deferred;
    deferred.FileName = ProgramDir + "posterase.dat";
    for (const std::string& file : {held, free})
        deferred.Add(PostEraserItem(ptDeleteFile, file, nullptr, "", "", "", ""));
    deferred.SaveToFile();

    HWND box = StartAndWaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), std::string(FinishedText) +
                                       "\r\n\r\nThese files could not be erased now and are kept "
                                       "for the next start of Windows:\r\n" +
                                       held);
    PressOkAndWaitForExit(box);
    EXPECT_FALSE(FileExists(free));
    EXPECT_EQ(FileGetAttr(held) & FILE_ATTRIBUTE_READONLY, DWORD(FILE_ATTRIBUTE_READONLY));
    TPostEraser kept;
    kept.FileName = ProgramDir + "posterase.dat";
    kept.LoadFromFile();
    ASSERT_EQ(kept.Count(), 1);
    EXPECT_EQ(kept.Items(0).FileName, held);
    TRegistry runOnce(KEY_READ);
    runOnce.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(runOnce.OpenKeyReadOnly(RunOnceKey));
    EXPECT_EQ(runOnce.ReadString(RunOnceValue),
              Format("\"%sTarnwhistle.exe\" /cleanup", ProgramDir.c_str()));
    EXPECT_EQ(ReadFileToString(ProgramDir + "exitwindows.log"), "2"); // something was erased

    // The next start erases nothing: it names the file again and does not restart,
    // or a file held open at every start would restart the machine at every start.
    DeleteFileW(ToWide(ProgramDir + "exitwindows.log").c_str());
    box = StartAndWaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              "These files could not be erased now and are kept for the next start of "
              "Windows:\r\n" +
                  held);
    PressOkAndWaitForExit(box);
    EXPECT_FALSE(FileExists(ProgramDir + "exitwindows.log"));
    kept.LoadFromFile();
    EXPECT_EQ(kept.Count(), 1);
    lock.Reset();
    FileSetAttr(held, FILE_ATTRIBUTE_NORMAL);
    TRegistry cleanUp;
    cleanUp.RootKey = HKEY_LOCAL_MACHINE;
    if (cleanUp.OpenKey(RunOnceKey, false)) cleanUp.DeleteValue(RunOnceValue);
}
