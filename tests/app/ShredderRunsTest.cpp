// Runs of the shredding pages as a user meets them: a run stopped part way, a shortcut
// chosen to be shredded, fillers left on drives by a killed run, and Windows reached
// through a link.
#include "ShredderFixture.h"
#include "classlib/base/Streams.h"
#include "engine/EraserEngine.h"
#include "engine/SharedRoutines.h"
#include "support/HostLinks.h"
#include "support/Shortcuts.h"
#include "support/SmallDrive.h"
#include <gtest/gtest.h>

namespace {

class ShredderRuns : public ShredderPages {
protected:
    // The shredder's lists as the last run of the program left them in "prefs.dat".
    void WriteLists(const std::vector<std::string>& files,
                    const std::vector<std::string>& folders) {
        Program.WritePrefs([&](TEraserEngine& engine) {
            for (const std::string& path : files)
                AddItem(engine.Shredder->WipeFiles, wkFile, path);
            for (const std::string& path : folders)
                AddItem(engine.Shredder->WipeFolders, wkFolder, path);
        });
    }
    static void AddItem(TWipeEngine& engine, uint8_t kind, const std::string& path) {
        auto item = std::make_unique<TWipeItem>();
        item->Kind = kind;
        item->Path = path;
        engine.AddItem(std::move(item));
    }
    HWND FileGroup() { return FindChild(Main, "TGroupBox", " Shred Files "); }
    HWND ShowFilePage() {
        PostClick(Shown(Main, "TButton", "File Shredder          "));
        return FindChild(Shown(Main, "TGroupBox", " Shred Files "), "TListView");
    }
    // Start of a group, answered Yes.
    void StartGroup(HWND group) {
        PostClick(FindChild(group, "TButton", "Start"));
        Answer(Box("Shred the"), IDYES);
    }
    static constexpr int Count = 300; // files enough for a run that Cancel meets
    static int64_t FreeBytes(const std::string& root) {
        ULARGE_INTEGER free{};
        GetDiskFreeSpaceExA(root.c_str(), &free, nullptr, nullptr);
        return static_cast<int64_t>(free.QuadPart);
    }
};

// Stop while the progress window shows: the box, owned by the main window, says the
// run was stopped and how many files went, which is what left the disk and the list.
TEST_F(ShredderRuns, AStoppedRunSaysSoAndHowManyFilesWereShredded) {
    WriteMethod();
    std::vector<std::string> files;
    for (int i = 0; i < Count; ++i)
        files.push_back(Data.Write(IntToStr(i) + ".txt", "file"));
    WriteLists(files, {});
    StartProgram();
    HWND list = ShowFilePage();
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(list) == Count; }));
    StartGroup(FileGroup());
    ASSERT_NE(Program.WaitForWindow("TfProgress"), nullptr);
    PostClick(FindChild(FileGroup(), "TButton", "Stop"));
    HWND box = Box("The run was stopped: ");
    EXPECT_EQ(GetWindow(box, GW_OWNER), Main);
    const std::string text = MessageBoxText(box);
    Answer(box, IDOK);
    EXPECT_EQ(text.find("could not be shredded"), std::string::npos) << text;
    const size_t of = text.find(" of " + IntToStr(Count) + " file(s) shredded");
    ASSERT_NE(of, std::string::npos) << text;
    const size_t number = text.rfind(' ', of - 1) + 1;
    const int shredded = StrToIntDef(text.substr(number, of - number), -1);
    int left = 0;
    for (const std::string& file : files)
        left += FileExists(file) ? 1 : 0;
    EXPECT_EQ(shredded, Count - left);
    EXPECT_GE(left, 1);
    EXPECT_EQ(ListViewCount(list), left);
    CloseProgram();
}

// A shortcut picked in "Select files to shred" is listed and shredded itself; the file
// it points to stays whole.
TEST_F(ShredderRuns, AChosenShortcutIsShreddedItselfNeverItsTarget) {
    WriteMethod();
    const std::string target = Data.Write("report.txt", "the report");
    const std::string shortcut = Data / "report.lnk";
    MakeShortcut(shortcut, target, "");
    ASSERT_TRUE(FileExists(shortcut));
    StartProgram();
    HWND list = ShowFilePage();
    PostClick(FindChild(FileGroup(), "TButton", "Add"));
    ChooseInFileDialog(Box(), shortcut);
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(list) == 1; }));
    StartGroup(FileGroup());
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(list) == 0; }));
    EXPECT_FALSE(FileExists(shortcut));
    EXPECT_EQ(ReadFileToString(target), "the report");
    CloseProgram();
}

// A filler that a killed run left in the root of a fixed drive is known by its name:
// the next start removes it from every such drive, says so once, and the drive has its
// space again.
TEST_F(ShredderRuns, AFillerLeftByAKilledRunIsRemovedAtTheNextStart) {
    const std::string root = SmallDriveRoot();
    if (root.empty()) GTEST_SKIP() << "no small drive";
    const int64_t freeAtFirst = FreeBytes(root);
    const std::vector<std::string> fillers = {root + FreeSpaceFillName,
                                              std::string("C:\\") + FreeSpaceFillName};
    WriteStringToFile(fillers[0], std::string(static_cast<size_t>(freeAtFirst * 3 / 4), '0'));
    WriteStringToFile(fillers[1], "0");
    ASSERT_TRUE(Program.Start());
    const std::string text = MessageText();
    for (const std::string& filler : fillers) {
        EXPECT_NE(text.find(filler + "\", was removed"), std::string::npos) << text;
        EXPECT_FALSE(FileExists(filler));
    }
    EXPECT_GE(FreeBytes(root), freeAtFirst - (64 << 10));
    WaitForMain();
    EXPECT_EQ(Program.FindWindowOfClass("#32770"), nullptr) << "said twice";
    CloseProgram();
}

// Windows reached through a link in the middle of a path is still Windows: the folder
// and a file in it are refused at the start of the program and by Start, and stay.
TEST_F(ShredderRuns, WindowsReachedThroughALinkIsNeverShredded) {
    WriteMethod();
    const std::string tag = "twlink" + IntToStr(static_cast<int>(GetCurrentProcessId()));
    const std::string inWindows = IncludeTrailingPathDelimiter(GetWindowsDir()) + "temp\\" + tag;
    ASSERT_TRUE(ForceDirectories(inWindows));
    WriteStringToFile(inWindows + "\\keep.txt", "kept");
    const std::string link = Data / "j";
    ASSERT_TRUE(MakeHostLink(link, GetWindowsDir()));
    struct TUnlink {
        std::string Link;
        ~TUnlink() { RemoveHostLinks({Link}); }
    } unlink{link};
    const std::string viaLink = link + "\\temp\\" + tag;
    WriteLists({viaLink + "\\keep.txt"}, {viaLink});
    ASSERT_TRUE(Program.Start());
    EXPECT_NE(MessageText().find(viaLink), std::string::npos);
    WaitForMain();
    ShowFilePage();
    PostClick(FindChild(FileGroup(), "TButton", "Start")); // nothing to ask about
    EXPECT_NE(MessageText().find("1 file(s) could not be shredded"), std::string::npos);
    PostClick(FindChild(FolderGroup(), "TButton", "Start"));
    EXPECT_NE(MessageText().find("1 folder(s) could not be shredded"), std::string::npos);
    EXPECT_EQ(ReadFileToString(inWindows + "\\keep.txt"), "kept");
    CloseProgram();
    SysDeleteFile(inWindows + "\\keep.txt");
    RemoveDir(inWindows);
}

} // namespace
