// The program started by every form of its own name: under Wine a folder without a
// drive letter is reached only as "\\?\unix\...". Its files go beside it, never into
// the folder it was started from.
#include "ProgramRun.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include <gtest/gtest.h>

namespace {

// "\\?\unix\tmp\..." for a folder, as Wine names it with no drive for it.
std::string UnixForm(const std::string& dir) {
    using TUnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<TUnixName>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
    char* name = unixName ? unixName(ToWide(dir).c_str()) : nullptr;
    if (!name) return "";
    std::string form = std::string("\\\\?\\unix") + name;
    HeapFree(GetProcessHeap(), 0, name);
    std::replace(form.begin(), form.end(), '/', '\\');
    return IncludeTrailingPathDelimiter(form);
}

std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    ForEachFile(dir + "*", [&](const TFindData& entry) {
        names.push_back(entry.Name);
        return true;
    });
    return names;
}

} // namespace

TEST(ProgramFolder, SettingsGoBesideTheProgramWhateverFormItsNameHas) {
    TProgramRun program;
    TTempFolder current;
    const std::string dir = program.Dir();
    const std::string unixForm = UnixForm(dir);
    ASSERT_FALSE(unixForm.empty());
    for (const std::string& started : {unixForm, "\\\\?\\" + dir, dir}) {
        SCOPED_TRACE(started);
        SafeDeleteFile(dir + "prefs.dat");
        ASSERT_TRUE(program.Start("", started, current.Path())) << GetLastError();
        HWND main = program.WaitForWindow("TfMain");
        ASSERT_NE(main, nullptr);
        PostMessageA(main, WM_CLOSE, 0, 0);
        ASSERT_TRUE(program.WaitForExit()) << "a box at the close?";
        EXPECT_TRUE(FileExists(dir + "prefs.dat"));
        EXPECT_TRUE(DirectoryExists(dir + "Backup"));
        EXPECT_EQ(Entries(current.Path()), std::vector<std::string>{});
    }
}
