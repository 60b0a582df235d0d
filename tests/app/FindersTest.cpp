// The junk cleaner's finders and the store of removed files, seen from outside: the
// program is started in its own folder and driven by window messages.
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "components/XmlParser/XmlParser.h"
#include "engine/SharedRoutines.h"
#include "support/HostLinks.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The page's tabs, in order.
enum TTab { tabDuplicate, tabJunk, tabDLL, tabRestoration };

class Finders : public TProgramTest {
protected:
    void SetUp() override { Data = Program.Dir() + "data\\"; }

    void StartProgram() {
        ASSERT_NO_FATAL_FAILURE(TProgramTest::StartProgram());
        SendMessageA(FindChild(Main, "TButton", "Junk Cleaner         "), BM_CLICK, 0, 0);
        Page = FindChild(Main, "TTJunkCleaner");
        ASSERT_NE(Page, nullptr);
    }
    // Starts the program with its searches and "Del &All" runs waiting after their
    // first file while held (HoldRuns changes it) until they are stopped: a Stop always
    // finds them running.
    void StartHeldProgram(bool held) {
        const std::string name = Format("TwFindersHold%lu", GetCurrentProcessId());
        HoldEvent.Reset(CreateEventA(nullptr, TRUE, !held, name.c_str()));
        ASSERT_TRUE(HoldEvent);
        SetEnvironmentVariableA("TW_HOLD_EVENT", name.c_str());
        StartProgram();
        SetEnvironmentVariableA("TW_HOLD_EVENT", nullptr);
    }
    void HoldRuns(bool held) const {
        held ? ResetEvent(HoldEvent.Get()) : SetEvent(HoldEvent.Get());
    }
    // Selects the tab and returns its frame.
    HWND Tab(TTab tab) const {
        SendMessageA(FindChild(Page, "TPageControl"), TCM_SETCURFOCUS, tab, 0);
        const char* frames[] = {"TTDuplicateFinder", "TTJunkFinder", "TTDLLFinder",
                                "TTRestoration"};
        return FindChild(Page, frames[tab]);
    }
    void AddFolder(const std::string& folder) const {
        ASSERT_TRUE(ChooseFolder(Program, FindChild(Page, "TButton", "Add &Folder "),
                                 ExcludeTrailingPathDelimiter(folder)));
    }
    // Runs the finder's search over the folder list and waits for its end.
    static void Search(HWND finder) {
        HWND button = FindChild(finder, "TButton", "&Search");
        SendMessageA(button, BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return WindowText(button) == "&Search"; }));
    }
    // "&Rename" on the row with that caption, the new caption typed and Enter pressed.
    static void Rename(HWND finder, const std::string& caption, const std::string& text) {
        HWND list = FindChild(finder, "TListView");
        for (int row = 0; row < ListViewCount(list); ++row)
            if (ListViewText(list, row, 0) == caption) ListViewSelect(list, row);
        SendMessageA(FindChild(finder, "TButton", "&Rename"), BM_CLICK, 0, 0);
        HWND edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0));
        ASSERT_NE(edit, nullptr) << caption;
        SetText(edit, text);
        PressKey(edit, VK_RETURN);
    }
    // Checks the rows whose column holds the text.
    static void CheckRows(HWND list, int column, const std::string& text) {
        for (int row = 0; row < ListViewCount(list); ++row)
            if (ListViewText(list, row, column) == text) ListViewCheck(list, row);
    }
    // Clicks the button and waits until the list has that many rows.
    void ClickAndCount(HWND frame, const char* caption, int rows) const {
        HWND list = FindChild(frame, "TListView");
        PostClick(FindChild(frame, "TButton", caption));
        EXPECT_TRUE(WaitFor([&] { return ListViewCount(list) == rows; }, 10000)) << caption;
        EXPECT_EQ(Program.FindWindowOfClass("#32770"), nullptr) << "a message box shows";
    }
    void CopyLibrary(const std::string& folder) const {
        const std::string library = IncludeTrailingPathDelimiter(GetSystemDir()) + "version.dll";
        ForceDirectories(Data + folder);
        ASSERT_TRUE(CopyFileW(ToWide(library).c_str(),
                              ToWide(Data + folder + "version.dll").c_str(), FALSE));
    }
    std::string Plant(const std::string& relative, const std::string& content) const {
        const std::string name = Data + relative;
        ForceDirectories(ExtractFilePath(name));
        WriteStringToFile(name, content);
        // The same modification time for every planted file.
        TKernelHandle file(CreateFileW(ToWide(name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
        const FILETIME time{0x2a3b4c00, 0x01d9a000};
        SetFileTime(file.Get(), nullptr, nullptr, &time);
        return name;
    }
    [[nodiscard]] std::unique_ptr<TkepXMLParser2> StoreList() const {
        auto list = std::make_unique<TkepXMLParser2>();
        list->LoadFromFile(Program.Dir() + "Backup.xml");
        return list;
    }

    std::string Data;
    HWND Page = nullptr;
    TKernelHandle HoldEvent;
};

TEST_F(Finders, DuplicatesGoIntoTheStoreComeBackAndTheStoreOutlivesTheProgram) {
    const std::string twin = Plant("a\\report.txt", "the same words");
    const std::string other = Plant("b\\REPORT.TXT", "the same words");
    Plant("c\\report.txt", "other  words!!"); // same size, other content
    for (const char* folder : {"a", "b", "c"})
        Plant(std::string(folder) + "\\three.bin", std::string(3000, 'x'));
    Plant("a\\empty.txt", "");
    Plant("b\\empty.txt", "");
    StartProgram();
    HWND finder = Tab(tabDuplicate);
    AddFolder(Data);
    AddFolder(Data + "b"); // inside the first: searched once
    Search(finder);
    HWND list = FindChild(finder, "TListView");
    ASSERT_EQ(ListViewCount(list), 5);
    EXPECT_EQ(ListViewText(list, 0, 0), "report.txt");
    EXPECT_EQ(ListViewText(list, 2, 0), "three.bin");
    EXPECT_EQ(ListViewText(list, 0, 1), "14");
    EXPECT_EQ(ListViewText(list, 0, 3), "a---");
    CheckRows(list, 4, LowerCase(Data + "b\\"));
    CheckRows(list, 4, LowerCase(Data + "c\\"));
    ClickAndCount(finder, "&Delete", 2);
    EXPECT_FALSE(FileExists(other));
    // Rows go from the last to the first: c's and b's three.bin, then b's report.
    auto stored = StoreList();
    ASSERT_EQ(stored->NodeCount(), 3);
    EXPECT_EQ(stored->Text(), "3");
    EXPECT_EQ(stored->GetNode(2)->Text(), "3");
    EXPECT_EQ(stored->GetNode(2)->GetNode(0)->Text(), "Duplicate File");
    EXPECT_TRUE(SameText(stored->GetNode(2)->GetNode(1)->Text(), other));
    EXPECT_EQ(ReadFileToString(Program.Dir() + "Backup\\REPORT.TXT.3"), "the same words");

    HWND restoration = Tab(tabRestoration);
    HWND restoreList = FindChild(restoration, "TListView");
    ClickAndCount(restoration, "Re&fresh", 3);
    CheckRows(restoreList, 0, "3");
    ClickAndCount(restoration, "&Restore", 2);
    EXPECT_EQ(ReadFileToString(other), "the same words");
    EXPECT_TRUE(FileExists(twin));
    EXPECT_EQ(StoreList()->NodeCount(), 2);
    CloseProgram();

    StartProgram();
    restoration = Tab(tabRestoration);
    restoreList = FindChild(restoration, "TListView");
    ClickAndCount(restoration, "Re&fresh", 2);
    EXPECT_EQ(ListViewText(restoreList, 0, 0), "1");
    EXPECT_TRUE(SameText(ListViewText(restoreList, 0, 3), Data + "c\\three.bin"));
    EXPECT_EQ(ListViewText(restoreList, 1, 1), "Duplicate File");
    CloseProgram();
}

// "&Stop" ends a running search at once, with no copy listed yet; the next "&Search"
// lists every copy again, large ones read whole.
TEST_F(Finders, AStoppedSearchEndsAtOnceAndTheNextOneListsEveryCopy) {
    const std::string large(8 << 20, 'L');
    for (const char* folder : {"a", "b", "c", "d"}) {
        Plant(std::string(folder) + "\\large.bin", large);
        Plant(std::string(folder) + "\\small.txt", "small");
    }
    StartHeldProgram(true);
    HWND finder = Tab(tabDuplicate);
    AddFolder(Data);
    HWND button = FindChild(finder, "TButton", "&Search");
    HWND list = FindChild(finder, "TListView");
    SendMessageA(button, BM_CLICK, 0, 0);
    SendMessageA(button, BM_CLICK, 0, 0); // returns once the search has ended
    EXPECT_EQ(WindowText(button), "&Search");
    EXPECT_EQ(ListViewCount(list), 0); // one file found: no copy of it yet
    HoldRuns(false);
    Search(finder);
    ASSERT_EQ(ListViewCount(list), 8);
    EXPECT_EQ(ListViewText(list, 0, 0), "large.bin");
    EXPECT_EQ(ListViewText(list, 7, 0), "small.txt");
    CloseProgram();
}

TEST_F(Finders, JunkIsFoundByItsNamesAndGoesIntoTheStore) {
    for (const char* name : {"report.bak", "REPORT.BAK", "notes.txt~", "draft~.doc", "file0001.chk",
                             "chkdsk.chk", "old.nav", "x.tmp", "notes.txt", "myfile.chk", "a.mav"})
        Plant(name[0] == 'R' ? std::string("upper\\") + name : name, "junk");
    StartProgram();
    HWND finder = Tab(tabJunk);
    AddFolder(Data);
    Search(finder);
    HWND list = FindChild(finder, "TListView");
    ASSERT_EQ(ListViewCount(list), 8);
    EXPECT_EQ(ListViewText(list, 0, 0), LowerCase(Data) + "chkdsk.chk");
    CheckRows(list, 0, LowerCase(Data) + "report.bak");
    CheckRows(list, 0, LowerCase(Data) + "draft~.doc");
    ClickAndCount(finder, "&Delete", 6);
    EXPECT_FALSE(FileExists(Data + "report.bak"));
    // "&Rename" renames the row's file on disk, never to a name programs cannot open.
    const std::string renamed = LowerCase(Data) + "renamed.tmp";
    Rename(finder, LowerCase(Data) + "x.tmp", renamed);
    EXPECT_TRUE(WaitFor([&] { return FileExists(Data + "renamed.tmp"); }, 10000));
    EXPECT_FALSE(FileExists(Data + "x.tmp"));
    for (const char* name : {"renamed.", "trailing. ", "CON", "nul.txt", "com1.tmp", "Aux .log"}) {
        Rename(finder, renamed, LowerCase(Data) + name);
        Answer(Box("cannot be the file's new name"), IDOK);
    }
    EXPECT_TRUE(FileExists(Data + "renamed.tmp"));
    auto stored = StoreList();
    ASSERT_EQ(stored->NodeCount(), 2);
    EXPECT_EQ(stored->GetNode(1)->GetNode(0)->Text(), "Junk File");
    CloseProgram();
}

// Copies of a library with a version resource; one without it is never listed.
TEST_F(Finders, DLLCopiesAreFoundAndDelAllKeepsTheFirst) {
    for (const char* folder : {"a\\", "b\\", "c\\"}) {
        CopyLibrary(folder);
        Plant(std::string(folder) + "plain.dll", "no version resource");
    }
    StartProgram();
    HWND finder = Tab(tabDLL);
    AddFolder(Data);
    Search(finder);
    HWND list = FindChild(finder, "TListView");
    ASSERT_EQ(ListViewCount(list), 3);
    EXPECT_EQ(ListViewText(list, 0, 0), "version.dll");
    EXPECT_NE(ListViewText(list, 0, 1), "");
    PostClick(FindChild(finder, "TButton", "Del &All"));
    Answer(Box("Delete 2 listed copies for good?"), IDYES);
    EXPECT_TRUE(WaitFor([&] { return ListViewCount(list) == 1; }));
    const int kept = FileExists(Data + "a\\version.dll") + FileExists(Data + "b\\version.dll") +
                     FileExists(Data + "c\\version.dll");
    EXPECT_EQ(kept, 1);
    EXPECT_TRUE(FileExists(Data + "a\\plain.dll"));
    CloseProgram();
}

// One file reached by two paths (a host link to it; a searched folder that links to
// another; two hard-linked names) is no copy of itself, so "Del &All" cannot take the
// only copy. Of each group of real copies one row is kept, and when it goes into the
// store the next row of its group is kept instead.
TEST_F(Finders, DelAllKeepsOneCopyOfEachGroupInPlaceAndAFileReachedTwiceIsOneFile) {
    const std::string single = Plant("real\\single.txt", "one file, two paths");
    const std::string named = Plant("a\\twin.txt", "one file, two names");
    for (const char* folder : {"a", "b", "c"})
        Plant(std::string(folder) + "\\pair.txt", "three copies");
    CopyLibrary("real\\");
    CopyLibrary("b\\");
    ForceDirectories(Data + "other");
    const std::string fileLink = Data + "other\\single.txt", folderLink = Program.Dir() + "linked";
    if (!MakeHostLink(fileLink, single) || !MakeHostLink(folderLink, Data + "real") ||
        !MakeHostLink(Data + "b\\twin.txt", named, true, true) ||
        !MakeHostLink(Data + "c\\version.dll", Data + "b\\version.dll", true, true))
        GTEST_SKIP() << "host links cannot be made here";
    StartProgram();
    AddFolder(Data);
    AddFolder(folderLink);
    HWND libraries = Tab(tabDLL);
    Search(libraries);
    EXPECT_EQ(ListViewCount(FindChild(libraries, "TListView")), 2);

    HWND finder = Tab(tabDuplicate);
    Search(finder);
    HWND list = FindChild(finder, "TListView");
    ASSERT_EQ(ListViewCount(list), 5); // three pair.txt, two version.dll
    auto kept = [&](const std::string& name) {
        std::vector<int> rows;
        for (int row = 0; row < ListViewCount(list); ++row)
            if (ListViewText(list, row, 0) == name && ListViewText(list, row, 5) == "keep")
                rows.push_back(row);
        return rows;
    };
    ASSERT_EQ(kept("pair.txt").size(), 1u);
    EXPECT_EQ(kept("version.dll").size(), 1u);
    ListViewCheck(list, kept("pair.txt")[0]);
    ClickAndCount(finder, "&Delete", 4);
    EXPECT_EQ(kept("pair.txt").size(), 1u);
    ClickAndCount(finder, "Del &All", 2);
    int inPlace = 0;
    for (const char* folder : {"a", "b", "c"})
        inPlace += FileExists(Data + folder + "\\pair.txt") ? 1 : 0;
    EXPECT_EQ(inPlace, 1);
    EXPECT_NE(FileExists(Data + "real\\version.dll"), FileExists(Data + "b\\version.dll"));
    EXPECT_EQ(ReadFileToString(fileLink), "one file, two paths");
    EXPECT_EQ(ReadFileToString(Data + "b\\twin.txt"), "one file, two names");
    CloseProgram();
    RemoveHostLinks({fileLink, folderLink});
}

// The list is out of date when "Del &All" runs: a kept file deleted or changed since
// the search leaves its whole group, a copy changed since then stays, and the box
// says which. The same click again leaves the same files.
TEST_F(Finders, DelAllDeletesOnlyCopiesThatStillEqualTheirKeptFile) {
    for (const char* folder : {"a\\", "b\\", "c\\"}) {
        Plant(std::string(folder) + "gone.txt", "kept file deleted");
        Plant(std::string(folder) + "peer.txt", "one copy changes");
    }
    for (const char* folder : {"a\\", "b\\"}) {
        Plant(std::string(folder) + "changed.txt", "kept file changes");
        Plant(std::string(folder) + "fine.txt", "nothing changes");
    }
    StartProgram();
    HWND finder = Tab(tabDuplicate);
    for (const char* folder : {"a", "b", "c"}) // the first found, in a, is kept
        AddFolder(Data + folder);
    Search(finder);
    HWND list = FindChild(finder, "TListView");
    ASSERT_EQ(ListViewCount(list), 10);
    for (int row = 0; row < ListViewCount(list); ++row)
        EXPECT_EQ(ListViewText(list, row, 5),
                  SameText(ListViewText(list, row, 4), Data + "a\\") ? "keep" : "delete");
    ASSERT_TRUE(DeleteFileW(ToWide(Data + "a\\gone.txt").c_str()));
    WriteStringToFile(Data + "a\\changed.txt", "KEPT FILE CHANGES");
    WriteStringToFile(Data + "c\\peer.txt", "ONE COPY CHANGES");
    const std::vector<std::string> left{"b\\gone.txt", "c\\gone.txt", "b\\changed.txt",
                                        "c\\peer.txt"};
    for (int click = 0; click < 2; ++click) {
        PostClick(FindChild(finder, "TButton", "Del &All"));
        HWND box = Box("4 file(s) could not be deleted:");
        ASSERT_NE(box, nullptr);
        const std::string text = LowerCase(MessageBoxText(box));
        for (const std::string& file : left)
            EXPECT_NE(text.find(LowerCase(Data + file) + ": left, as "), std::string::npos) << text;
        EXPECT_NE(text.find("its bytes differ from the kept copy"), std::string::npos) << text;
        Answer(box, IDOK);
        EXPECT_EQ(ListViewCount(list), 8);
    }
    EXPECT_FALSE(FileExists(Data + "b\\peer.txt"));
    EXPECT_FALSE(FileExists(Data + "b\\fine.txt"));
    for (const std::string& file : left)
        EXPECT_TRUE(FileExists(Data + file)) << file;
    EXPECT_EQ(ReadFileToString(Data + "b\\changed.txt"), "kept file changes");
    CloseProgram();
}

// "&Stop" in Del All's progress window ends it: the rows left are the files left, and
// a second Del All deletes the rest.
TEST_F(Finders, DelAllStoppedLeavesARowForEveryFileLeft) {
    constexpr int Pairs = 40;
    for (const char* folder : {"a\\", "b\\"})
        for (int i = 0; i < Pairs; ++i)
            Plant(folder + Format("f%04d.txt", i), Format("copy %04d", i));
    StartHeldProgram(false);
    HWND finder = Tab(tabDuplicate);
    AddFolder(Data + "a");
    AddFolder(Data + "b");
    Search(finder);
    HWND list = FindChild(finder, "TListView");
    ASSERT_EQ(ListViewCount(list), 2 * Pairs);
    HoldRuns(true);
    PostClick(FindChild(finder, "TButton", "Del &All"));
    HWND progress = Program.WaitForWindow("TfProgress");
    ASSERT_NE(progress, nullptr);
    HWND stop = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (stop = FindChild(progress, "TButton", "&Stop")) != nullptr; }));
    SendMessageA(stop, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(progress) && IsWindowEnabled(Main); }));
    HoldRuns(false);
    SendMessageA(finder, WM_NULL, 0, 0);
    int left = 0;
    for (int i = 0; i < Pairs; ++i)
        left += FileExists(Data + Format("b\\f%04d.txt", i)) ? 1 : 0;
    EXPECT_EQ(left, Pairs - 1) << "the stop came after the first file";
    EXPECT_EQ(ListViewCount(list), Pairs + left);
    for (int row = 0; row < ListViewCount(list); ++row)
        EXPECT_TRUE(FileExists(ListViewText(list, row, 4) + ListViewText(list, row, 0))) << row;
    ClickAndCount(finder, "Del &All", Pairs);
    for (int i = 0; i < Pairs; ++i)
        EXPECT_TRUE(FileExists(Data + Format("a\\f%04d.txt", i))) << i;
    CloseProgram();
}

// A copy of a library with the same name, size and version but other bytes is no copy
// to delete; "Del &All" asks once first, and No, its default, deletes nothing.
TEST_F(Finders, DLLDelAllAsksOnceAndDeletesOnlyByteIdenticalCopies) {
    for (const char* folder : {"a\\", "b\\", "c\\"})
        CopyLibrary(folder);
    std::string other = ReadFileToString(Data + "c\\version.dll");
    other[0x50] ^= 0x20; // in the stub's text: the version resource stays as it was
    WriteStringToFile(Data + "c\\version.dll", other);
    StartProgram();
    HWND finder = Tab(tabDLL);
    for (const char* folder : {"a", "b", "c"})
        AddFolder(Data + folder);
    Search(finder);
    HWND list = FindChild(finder, "TListView");
    ASSERT_EQ(ListViewCount(list), 3);
    for (int answer : {IDNO, IDYES}) {
        PostClick(FindChild(finder, "TButton", "Del &All"));
        HWND question = Box("Delete 2 listed copies for good?");
        ASSERT_NE(question, nullptr);
        answer == IDNO ? PressEnter(question) : Answer(question, answer);
    }
    HWND box = Box("1 file(s) could not be deleted:");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(LowerCase(MessageBoxText(box))
                  .find(LowerCase(Data) + "c\\version.dll: left, as its bytes differ"),
              std::string::npos)
        << MessageBoxText(box);
    Answer(box, IDOK);
    EXPECT_EQ(ListViewCount(list), 2);
    EXPECT_TRUE(FileExists(Data + "a\\version.dll"));
    EXPECT_FALSE(FileExists(Data + "b\\version.dll"));
    EXPECT_EQ(ReadFileToString(Data + "c\\version.dll"), other);
    CloseProgram();
}

// "Del &All" deletes the rows its question counted, not those a search still running
// adds while the question is open.
TEST_F(Finders, DelAllDeletesOnlyTheRowsItAskedAbout) {
    const std::string early = Plant("first\\early.tmp", "junk");
    const std::vector<std::string> late{Plant("late\\a.tmp", "junk"), Plant("late\\b.tmp", "junk")};
    // Folders enough to keep the search busy between them while the question opens.
    for (int i = 0; i < 4000; ++i)
        ForceDirectories(Data + Format("busy\\%02d\\%03d", i / 100, i % 100));
    StartProgram();
    HWND finder = Tab(tabJunk);
    for (const char* folder : {"first", "busy", "late"})
        AddFolder(Data + folder);
    HWND list = FindChild(finder, "TListView");
    HWND search = FindChild(finder, "TButton", "&Search");
    PostClick(search);
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(list) == 1; }));
    PostClick(FindChild(finder, "TButton", "Del &All"));
    HWND question = Program.WaitForWindow("#32770");
    ASSERT_NE(question, nullptr);
    ASSERT_NE(FindChild(question, "Static", "Delete all 1 listed files for good?"), nullptr)
        << "the search ended before the question: give it more folders";
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(list) == 3; }));
    PostClick(GetDlgItem(question, IDYES));
    ASSERT_TRUE(WaitFor([&] { return WindowText(search) == "&Search"; }));
    EXPECT_TRUE(WaitFor([&] { return ListViewCount(list) == 2; }));
    EXPECT_FALSE(FileExists(early));
    for (const std::string& file : late)
        EXPECT_TRUE(FileExists(file)) << file;
    CloseProgram();
}

} // namespace

// A damaged list is set aside whole and said once; its readable records, one without
// its date among them, start the new list.
TEST_F(Finders, ADamagedStoreListIsKeptAsideAndSaidOnce) {
    const std::string damaged =
        "<?xml version=\"1.0\" ?>\r\n<Remover>2\r\n  <Deleted>1<Description>Junk File</Description>"
        "<oFile>C:\\a.txt</oFile><dt>01/02/2026</dt></Deleted><Deleted>4<Description>Junk "
        "File</Description><oFile>C:\\b.txt</oFile></Deleted><Deleted>5<oFile>";
    WriteStringToFile(Program.Dir() + "Backup.xml", damaged);
    StartProgram();
    // The tab's first showing reads the list: posted, as the message box holds it.
    PostMessageA(FindChild(Page, "TPageControl"), TCM_SETCURFOCUS, tabRestoration, 0);
    HWND box = Program.WaitForWindow("#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)),
              "\"Backup.xml\" is damaged. It was kept as \"Backup.xml.bad\", and its 2 readable "
              "record(s) were taken into a new list; nothing else was changed.");
    SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    HWND restoration = Tab(tabRestoration);
    ClickAndCount(restoration, "Re&fresh", 2); // no second message
    EXPECT_EQ(ListViewText(FindChild(restoration, "TListView"), 1, 3), "C:\\b.txt");
    EXPECT_EQ(ReadFileToString(Program.Dir() + "Backup.xml.bad"), damaged);

    const std::string junk = Plant("old.bak", "junk");
    HWND finder = Tab(tabJunk);
    AddFolder(Data);
    Search(finder);
    CheckRows(FindChild(finder, "TListView"), 0, LowerCase(junk));
    ClickAndCount(finder, "&Delete", 0);
    ClickAndCount(Tab(tabRestoration), "Re&fresh", 3);
    EXPECT_EQ(ListViewText(FindChild(restoration, "TListView"), 2, 0), "5");
    CloseProgram();
}
