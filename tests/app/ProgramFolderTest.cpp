// Whatever form its name has, the program writes beside itself, never in the current folder.
#include "ProgramRun.h"
#include "classlib/base/SafeFileOps.h"
#include <gtest/gtest.h>

TEST(ProgramFolder, SettingsGoBesideTheProgramWhateverFormItsNameHas) {
    TProgramRun program;
    TTempFolder current;
    const std::string dir = program.Dir();
    // C: is the prefix's drive_c; with no drive for it Wine names it "\\?\unix\...".
    std::string unixForm =
        "\\\\?\\unix" + ToUtf8(_wgetenv(L"WINEPREFIX")) + "/drive_c" + dir.substr(2);
    std::replace(unixForm.begin(), unixForm.end(), '/', '\\');
    for (const std::string& started : {unixForm, "\\\\?\\" + dir, dir}) {
        SCOPED_TRACE(started);
        SafeDeleteFile(dir + "prefs.dat");
        ASSERT_TRUE(program.Start("", started, current.Path())) << GetLastError();
        PostMessageA(program.WaitForWindow("TfMain"), WM_CLOSE, 0, 0);
        ASSERT_TRUE(program.WaitForExit()) << "no window, or a box at the close";
        EXPECT_TRUE(FileExists(dir + "prefs.dat") && DirectoryExists(dir + "Backup"));
        EXPECT_TRUE(ForEachFile(current.Path() + "*", [](const TFindData&) { return false; }));
    }
}
