// The shredding pages and the wipe-method dialogs, driven in the running program.
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserEngine.h"
#include "engine/SharedRoutines.h"
#include "support/SmallDrive.h"
#include <commctrl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <shlobj.h>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string IniValue(const std::string& file, const char* section, const char* key) {
    char value[256] = {};
    GetPrivateProfileStringA(section, key, "", value, sizeof value, file.c_str());
    return value;
}

void SetText(HWND wnd, const std::string& text) {
    SendMessageA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressKey(HWND wnd, WPARAM key) {
    PostMessageA(wnd, WM_KEYDOWN, key, 1);
    PostMessageA(wnd, WM_KEYUP, key, 0xC0000001);
}

class ShredderPages : public TProgramTest {
protected:
    // A method of one byte-pattern pass of 0x5A, bound to the three engines, and no
    // signature or slack: the files end up holding only that byte.
    void WriteMethod() {
        const std::string methods = Program.Dir() + "Methods\\";
        ForceDirectories(methods);
        const std::string mtd = methods + "zed.mtd";
        WritePrivateProfileStringA("Method", "Name", "Zed", mtd.c_str());
        WritePrivateProfileStringA("Method", "Passes", "1", mtd.c_str());
        WritePrivateProfileStringA("Pass1", "Name", "pass1", mtd.c_str());
        WritePrivateProfileStringA("Pass1", "BytePatternValue", "90", mtd.c_str());
        const std::string ini = Program.Dir() + "options.ini";
        WritePrivateProfileStringA("Settings", "WipeSlackSpace", "0", ini.c_str());
        for (const char* engine : {"WipeFiles", "WipeFolders", "WipeFreeSpace"})
            WritePrivateProfileStringA("Engines", engine, "zed.mtd", ini.c_str());
    }
    // The next common dialog or message box of the program.
    HWND Dialog() {
        HWND dialog = Program.WaitForWindow("#32770");
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    // The folder dialog takes its selection as a path in the program's memory.
    void SelectInFolderDialog(HWND dialog, const std::string& folder) {
        const std::wstring path = ToWide(folder);
        const SIZE_T size = (path.size() + 1) * sizeof(wchar_t);
        TKernelHandle process(
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, Program.ProcessId()));
        ASSERT_TRUE(process);
        void* remote = VirtualAllocEx(process.Get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
        ASSERT_NE(remote, nullptr);
        ASSERT_TRUE(WriteProcessMemory(process.Get(), remote, path.c_str(), size, nullptr));
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote));
        VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
    }
    static int Rows(HWND list) {
        return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    }
    // The text of the next message box, which is then closed with OK.
    std::string MessageText() {
        HWND box = Dialog();
        const std::string text = MessageBoxText(box);
        Answer(box, IDOK);
        return text;
    }
    HWND FolderGroup() { return FindChild(Main, "TGroupBox", " Shred Folders "); }
    // Presses the dialog's button and waits until the dialog has gone.
    static void Answer(HWND dialog, int button) {
        PostClick(GetDlgItem(dialog, button));
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    }

    TTempFolder Data;
};

TEST_F(ShredderPages, AddedFilesAndAFolderAreOverwrittenAndGone) {
    WriteMethod();
    const std::string a = Data.Write("files\\a.txt", std::string(3000, 'a'));
    const std::string b = Data.Write("files\\b.txt", std::string(5000, 'b'));
    const std::string inner = Data.Write("folder\\sub\\c.txt", std::string(700, 'c'));
    for (const std::string& file : {a, b, inner})
        ASSERT_TRUE(CreateHardLinkA((Data / ExtractFileName(file) + ".link").c_str(), file.c_str(),
                                    nullptr));
    StartProgram();
    PostClick(Shown(Main, "TButton", "File Shredder          "));
    HWND files = Shown(Main, "TListView", nullptr);
    PostClick(Shown(Main, "TButton", "Add"));
    HWND open = Dialog();
    ChooseInFileDialog(open, Data / "files");
    ChooseInFileDialog(open, "\"a.txt\" \"b.txt\"");
    ASSERT_TRUE(WaitFor([&] { return Rows(files) == 2; }));
    HWND addFolder = FindChild(FindChild(Main, "TGroupBox", " Shred Folders "), "TButton", "Add");
    PostClick(addFolder);
    HWND browse = Dialog();
    SelectInFolderDialog(browse, Data / "folder");
    PostClick(GetDlgItem(browse, IDOK));
    HWND folders = FindChild(FindChild(Main, "TGroupBox", " Shred Folders "), "TListView");
    ASSERT_TRUE(WaitFor([&] { return Rows(folders) == 1; }));

    PostClick(FindChild(FindChild(Main, "TGroupBox", " Shred Files "), "TButton", "Start"));
    PostClick(GetDlgItem(Dialog(), IDYES));
    ASSERT_TRUE(WaitFor([&] { return Rows(files) == 0 && !FileExists(a) && !FileExists(b); }));
    EXPECT_EQ(ReadAll(Data / "a.txt.link"), std::string(3000, 'Z'));
    EXPECT_EQ(ReadAll(Data / "b.txt.link"), std::string(5000, 'Z'));
    PostClick(FindChild(FindChild(Main, "TGroupBox", " Shred Folders "), "TButton", "Start"));
    PostClick(GetDlgItem(Dialog(), IDYES));
    ASSERT_TRUE(WaitFor([&] { return Rows(folders) == 0; }));

    EXPECT_FALSE(DirectoryExists(Data / "folder"));
    EXPECT_EQ(ReadAll(Data / "c.txt.link"), std::string(700, 'Z'));
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_TRUE(saved.Shredder->WipeFiles.Items().empty());
}

// A folder inside Windows, a drive root and anything holding Windows are refused
// by one rule: read from the settings they stay listed, are named once, and Start
// leaves them alone while it shreds the rest.
TEST_F(ShredderPages, ProtectedFoldersAreRefusedAtLoadAddAndStart) {
    WriteMethod();
    const std::string windows = IncludeTrailingPathDelimiter(GetWindowsDir());
    const std::string inWindows =
        windows + "temp\\twshred" + std::to_string(GetCurrentProcessId()) + "\\";
    ForceDirectories(inWindows);
    WriteStringToFile(inWindows + "keep.txt", "kept");
    // The small test drive stands for a drive root; without one, a drive that is not there.
    const bool drive = !SmallDriveRoot().empty();
    const std::string root = drive ? SmallDriveRoot() : "Q:\\";
    if (drive) WriteStringToFile(root + "keep.txt", "kept");
    const std::string plain = ExtractFileDir(Data.Write("plain\\gone.txt", "gone"));
    Program.WritePrefs([&](TEraserEngine& engine) {
        for (const std::string& folder : {inWindows, root, plain}) {
            auto item = std::make_unique<TWipeItem>();
            item->Kind = wkFolder;
            item->Path = folder;
            engine.Shredder->WipeFolders.AddItem(std::move(item));
        }
    });
    ASSERT_TRUE(Program.Start());
    const std::string loaded = MessageText();
    EXPECT_NE(loaded.find(inWindows), std::string::npos) << loaded;
    EXPECT_NE(loaded.find(root), std::string::npos) << loaded;
    EXPECT_EQ(loaded.find("plain"), std::string::npos) << loaded;
    WaitForMain();
    PostClick(Shown(Main, "TButton", "File Shredder          "));
    HWND folders = FindChild(Shown(Main, "TGroupBox", " Shred Folders "), "TListView");
    ASSERT_TRUE(WaitFor([&] { return Rows(folders) == 3; }));

    PostClick(FindChild(FolderGroup(), "TButton", "Add"));
    HWND browse = Dialog();
    SelectInFolderDialog(browse, windows + "system32\\drivers");
    Answer(browse, IDOK);
    EXPECT_NE(MessageText().find("cannot be shredded"), std::string::npos);
    EXPECT_EQ(Rows(folders), 3);

    PostClick(FindChild(FolderGroup(), "TButton", "Start"));
    Answer(Dialog(), IDYES);
    EXPECT_NE(MessageText().find("2 folder(s) could not be shredded"), std::string::npos);
    EXPECT_EQ(Rows(folders), 2);
    EXPECT_FALSE(DirectoryExists(plain));
    EXPECT_EQ(ReadAll(inWindows + "keep.txt"), "kept");
    if (drive) {
        EXPECT_EQ(ReadAll(root + "keep.txt"), "kept");
        SysDeleteFile(root + "keep.txt");
    }
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    ASSERT_EQ(saved.Shredder->WipeFolders.Items().size(), 2u);
    EXPECT_EQ(saved.Shredder->WipeFolders.Items()[0]->Path, inWindows);
    SysDeleteFile(inWindows + "keep.txt");
    RemoveDir(inWindows);
}

} // namespace

namespace {

// Space toggles the check box of the focused row; Down focuses the first row.
void ToggleFirstRow(HWND list) {
    PressKey(list, VK_DOWN);
    PressKey(list, VK_SPACE);
}

bool FirstRowChecked(HWND list) {
    const auto state = SendMessageA(list, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK);
    return (state >> 12) == 2;
}

TEST_F(ShredderPages, TheDriveChecksSurviveARestart) {
    StartProgram();
    PostClick(Shown(Main, "TButton", "Free Space Clean "));
    HWND box = Shown(Main, "TCheckBox", "Clean free space for the following drives:");
    HWND drives = FindChild(GetParent(box), "TListView");
    ASSERT_GT(Rows(drives), 0);                                           // C: at least
    EXPECT_NE(SendMessageA(drives, LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0); // the shell's icons
    EXPECT_FALSE(IsWindowEnabled(drives));
    PostClick(box);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(drives) != FALSE; }));
    ToggleFirstRow(drives);
    ASSERT_TRUE(WaitFor([&] { return FirstRowChecked(drives); }));
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_TRUE(saved.Shredder->CleanFreeSpaceEnabled);
    ASSERT_EQ(saved.Shredder->WipeFreeSpace.Items().size(), 1u);
    EXPECT_EQ(saved.Shredder->WipeFreeSpace.Items()[0]->Path, "C:\\");

    StartProgram();
    PostClick(Shown(Main, "TButton", "Free Space Clean "));
    box = Shown(Main, "TCheckBox", "Clean free space for the following drives:");
    drives = FindChild(GetParent(box), "TListView");
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(FirstRowChecked(drives));
    CloseProgram();
}

// Saved outside the methods folder, the method goes into it (made when missing); Close
// binds the selected method to the page's engine.
TEST_F(ShredderPages, AMethodMadeInTheDialogIsSavedAndBound) {
    StartProgram();
    PostClick(Shown(Main, "TButton", "Free Space Clean "));
    HWND page = GetParent(Shown(Main, "TCheckBox", "Clean free space for the following drives:"));
    PostClick(FindChild(page, "TButton", "&Options"));
    HWND methods = Program.WaitForWindow("TfMethodsForm");
    ASSERT_NE(methods, nullptr);
    EXPECT_EQ(WindowText(methods), "Wiping Methods");
    EXPECT_FALSE(IsWindowEnabled(FindChild(methods, "TButton", "&Edit")));
    PostClick(FindChild(methods, "TButton", "&New"));
    ChooseInFileDialog(Dialog(), Program.Dir() + "mine.mtd");
    HWND info = Dialog();
    EXPECT_NE(FindChild(info, "Static", nullptr), nullptr);
    PostClick(GetDlgItem(info, IDOK));
    HWND editor = Program.WaitForWindow("TfEditMethod");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(WindowText(editor), "New Method");
    SetText(FindChild(editor, "TEdit"), "Mine");
    SendMessageA(FindChild(editor, "TBitBtn", "Add"), BM_CLICK, 0, 0);
    HWND passes = FindChild(editor, "TListView");
    EXPECT_EQ(Rows(passes), 1);
    PostClick(FindChild(editor, "TButton", "&OK"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(editor); }));
    HWND list = FindChild(methods, "TListView");
    ASSERT_TRUE(WaitFor([&] { return Rows(list) == 1; }));
    ToggleFirstRow(list); // Down selects the new row
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(FindChild(methods, "TButton", "&Edit")); }));
    PostClick(FindChild(methods, "TButton", "&Close"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(methods); }));
    const std::string mtd = Program.Dir() + "Methods\\mine.mtd";
    EXPECT_EQ(IniValue(mtd, "Method", "Name"), "Mine");
    EXPECT_EQ(IniValue(mtd, "Method", "Passes"), "1");
    EXPECT_EQ(IniValue(Program.Dir() + "options.ini", "Engines", "WipeFreeSpace"), "mine.mtd");
    CloseProgram();
}

} // namespace
