// The shredding pages and the wipe-method dialogs, driven in the running program.
#include "ShredderFixture.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserEngine.h"
#include "engine/SharedRoutines.h"
#include "support/SmallDrive.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <shlobj.h>
#include <vector>

namespace {

// Files with other names (hard links) outside what was chosen keep their content there:
// only the chosen names go, and the run names them.
TEST_F(ShredderPages, AddedFilesAndAFolderGoButTheirOtherNamesKeepTheirContent) {
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
    HWND open = Box();
    ChooseInFileDialog(open, Data / "files");
    ChooseInFileDialog(open, "\"a.txt\" \"b.txt\"");
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(files) == 2; }));
    HWND addFolder = FindChild(FolderGroup(), "TButton", "Add");
    ASSERT_TRUE(ChooseFolder(Program, addFolder, Data / "folder"));
    HWND folders = FindChild(FolderGroup(), "TListView");
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(folders) == 1; }));

    PostClick(FindChild(FindChild(Main, "TGroupBox", " Shred Files "), "TButton", "Start"));
    Answer(Box(), IDYES);
    EXPECT_NE(MessageText().find(b + ": it has other names"), std::string::npos);
    ASSERT_TRUE(
        WaitFor([&] { return ListViewCount(files) == 0 && !FileExists(a) && !FileExists(b); }));
    EXPECT_EQ(ReadFileToString(Data / "a.txt.link"), std::string(3000, 'a'));
    EXPECT_EQ(ReadFileToString(Data / "b.txt.link"), std::string(5000, 'b'));
    PostClick(FindChild(FolderGroup(), "TButton", "Start"));
    Answer(Box(), IDYES);
    EXPECT_NE(MessageText().find(inner + ": it has other names"), std::string::npos);
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(folders) == 0; }));

    EXPECT_FALSE(DirectoryExists(Data / "folder"));
    EXPECT_EQ(ReadFileToString(Data / "c.txt.link"), std::string(700, 'c'));
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_TRUE(saved.Shredder->WipeFiles.Items().empty());
}

// A folder inside Windows, a drive root and anything holding Windows are refused
// by one rule: read from the settings they stay listed, are named once, and Start
// leaves them alone, uncounted by its question (where Enter is No), while it shreds the
// rest. One on a drive that is not there stays listed too, named as not found.
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
    const std::string unplugged = "Q:\\stick";
    Program.WritePrefs([&](TEraserEngine& engine) {
        for (const std::string& folder : {inWindows, root, plain, unplugged}) {
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
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(folders) == 4; }));

    ASSERT_TRUE(ChooseFolder(Program, FindChild(FolderGroup(), "TButton", "Add"),
                             windows + "system32\\drivers"));
    EXPECT_NE(MessageText().find("cannot be shredded"), std::string::npos);
    EXPECT_EQ(ListViewCount(folders), 4);

    PostClick(FindChild(FolderGroup(), "TButton", "Start"));
    PressEnter(Box("Shred the 2 listed folder(s)?")); // else the next box is the run's
    PostClick(FindChild(FolderGroup(), "TButton", "Start"));
    Answer(Box(), IDYES);
    const std::string failed = MessageText();
    EXPECT_NE(failed.find("3 folder(s) could not be shredded"), std::string::npos) << failed;
    EXPECT_NE(failed.find(unplugged + ": The folder was not found"), std::string::npos) << failed;
    EXPECT_NE(failed.find(root + ": " + ProtectedFolderText), std::string::npos) << failed;
    EXPECT_EQ(ListViewCount(folders), 3);
    EXPECT_FALSE(DirectoryExists(plain));
    EXPECT_EQ(ReadFileToString(inWindows + "keep.txt"), "kept");
    if (drive) {
        EXPECT_EQ(ReadFileToString(root + "keep.txt"), "kept");
        SysDeleteFile(root + "keep.txt");
    }
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    ASSERT_EQ(saved.Shredder->WipeFolders.Items().size(), 3u);
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

// Files of the saved list whose long names differ only at their end: each row names
// its own file in full, in a column as wide as the names, and keeps its whole path.
TEST_F(ShredderPages, LongListedNamesAreShownWhole) {
    const std::string deep = "application data\\working files of the week\\";
    std::vector<std::string> files;
    for (const char* name : {"working file number one.tmp", "working file number two.tmp"})
        files.push_back(Data.Write(deep + name, "x"));
    Program.WritePrefs([&](TEraserEngine& engine) {
        for (const std::string& file : files) {
            auto item = std::make_unique<TWipeItem>();
            item->Path = file;
            engine.Shredder->WipeFiles.AddItem(std::move(item));
        }
    });
    StartProgram();
    PostClick(Shown(Main, "TButton", "File Shredder          "));
    HWND list = Shown(Main, "TListView", nullptr);
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(list) == 2; }));
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(ListViewText(list, row, 0), ExtractFileName(files[row]));
        EXPECT_EQ(ListViewText(list, row, 1), ExtractFilePath(files[row]));
    }
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0) > 150; }));
    CloseProgram();
}

// The saved list asks the shell once per type: a folder of the list that is gone since
// does not leave its failed lookup to the folders after it, which share the shell's
// folder icon.
TEST_F(ShredderPages, ListedFoldersShareTheFolderIconThoughTheFirstIsGone) {
    const std::vector<std::string> folders = {Data / "gone",
                                              ExtractFileDir(Data.Write("one\\a", "a")),
                                              ExtractFileDir(Data.Write("two\\b", "b"))};
    Program.WritePrefs([&](TEraserEngine& engine) {
        for (const std::string& folder : folders) {
            auto item = std::make_unique<TWipeItem>();
            item->Kind = wkFolder;
            item->Path = folder;
            engine.Shredder->WipeFolders.AddItem(std::move(item));
        }
    });
    StartProgram();
    PostClick(Shown(Main, "TButton", "File Shredder          "));
    HWND list = FindChild(Shown(Main, "TGroupBox", " Shred Folders "), "TListView");
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(list) == 3; })) << ListViewCount(list);
    const int icon = ListViewImage(list, 1);
    EXPECT_NE(icon, 0) << "the shell's folder icon, not the gone folder's failed lookup";
    EXPECT_EQ(ListViewImage(list, 2), icon);
    CloseProgram();
}

TEST_F(ShredderPages, TheDriveChecksSurviveARestart) {
    StartProgram();
    PostClick(Shown(Main, "TButton", "Free Space Clean "));
    HWND box = Shown(Main, "TCheckBox", "Clean free space for the following drives:");
    HWND drives = FindChild(GetParent(box), "TListView");
    ASSERT_GT(ListViewCount(drives), 0);                                  // C: at least
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
    ChooseInFileDialog(Box(), Program.Dir() + "mine.mtd");
    HWND info = Box();
    EXPECT_NE(FindChild(info, "Static", nullptr), nullptr);
    PostClick(GetDlgItem(info, IDOK));
    HWND editor = Program.WaitForWindow("TfEditMethod");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(WindowText(editor), "New Method");
    SetText(FindChild(editor, "TEdit"), "Mine");
    SendMessageA(FindChild(editor, "TBitBtn", "Add"), BM_CLICK, 0, 0);
    HWND passes = FindChild(editor, "TListView");
    EXPECT_EQ(ListViewCount(passes), 1);
    PostClick(FindChild(editor, "TButton", "&OK"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(editor); }));
    HWND list = FindChild(methods, "TListView");
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(list) == 1; }));
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
