#include "components/FileFinder/FileFinder.h"
#include "support/PumpMessages.h"
#include "support/TempFolder.h"
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {
// A planted tree:
//   a.txt  b.log  big.dat(300 bytes)  hidden.txt(hidden)
//   sub\c.txt  sub\deep\d.txt  other\e.txt
class FileFinderTest : public ::testing::Test {
protected:
    void SetUp() override {
        Root = Temp.Path();
        Temp.Write("a.txt", "alpha needle");
        Temp.Write("b.log", "log");
        Temp.Write("big.dat", std::string(300, 'b'));
        const std::string hidden = Temp.Write("hidden.txt", "h");
        SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
        Temp.Write("sub\\c.txt", "the needle is here");
        Temp.Write("sub\\deep\\d.txt", "deep");
        Temp.Write("other\\e.txt", "e");
        Finder.Criteria.Files.FileName = "*.*";
        Finder.Criteria.Files.Location = Root;
        Finder.OnFileMatch = [this](TObject*, const std::string& folder, const TFindData& file) {
            Found.push_back(folder.substr(Root.size()) + file.Name);
        };
    }

    std::vector<std::string> Run() {
        Found.clear();
        Finder.Execute();
        return Sorted();
    }
    std::vector<std::string> Sorted() const {
        std::vector<std::string> result = Found;
        std::sort(result.begin(), result.end());
        return result;
    }
    using List = std::vector<std::string>;

    TTempFolder Temp;
    std::string Root;
    TFileFinder Finder{nullptr};
    std::vector<std::string> Found;
};
} // namespace

TEST_F(FileFinderTest, FindsEveryFileOfTheTreeInPlace) {
    std::vector<std::string> events;
    Finder.OnSearchBegin = [&](TObject* s) {
        auto* f = static_cast<TFileFinder*>(s);
        events.push_back(f->Busy() ? "begin" : "?");
    };
    Finder.OnSearchFinish = [&](TObject* s) {
        auto* f = static_cast<TFileFinder*>(s);
        events.push_back(f->Busy() ? "?" : "finish");
    };
    EXPECT_EQ(Run(), (List{"a.txt", "b.log", "big.dat", "hidden.txt", "other\\e.txt", "sub\\c.txt",
                           "sub\\deep\\d.txt"}));
    EXPECT_EQ(events, (List{"begin", "finish"}));
    EXPECT_FALSE(Finder.Busy());
}

TEST_F(FileFinderTest, NameAndLocationCriteria) {
    Finder.Criteria.Files.FileName = "*.txt";
    Finder.Criteria.Files.Location = "<" + Root;
    EXPECT_EQ(Run(), (List{"a.txt", "hidden.txt"}));

    // One folder written two ways is walked once, but each entry adds the masks.
    const std::string bare = Root.substr(0, Root.size() - 1);
    Finder.Criteria.Files.FileName = "*.log;*.*";
    Finder.Criteria.Files.Location = "<" + bare + ";<" + LowerCase(Root) + ";;";
    Run();
    EXPECT_EQ(std::count(Found.begin(), Found.end(), "b.log"), 4);
    EXPECT_EQ(std::count(Found.begin(), Found.end(), "a.txt"), 2);
    // Entries equal ignoring case count once.
    Finder.Criteria.Files.Location = "<" + bare + ";<" + UpperCase(bare);
    Run();
    EXPECT_EQ(std::count(Found.begin(), Found.end(), "b.log"), 2);

    Finder.Criteria.Files.FileName = "";
    Finder.Criteria.Files.Location = "";
    Finder.Criteria.Files.Included.Add("<" + Root + "sub\\*.txt");
    Finder.Criteria.Files.Included.Add(Root + "other\\*.*");
    EXPECT_EQ(Run(), (List{"other\\e.txt", "sub\\c.txt"}));
}

TEST_F(FileFinderTest, LevelsLimitTheWalk) {
    Finder.Criteria.Files.MaxLevel = 1;
    EXPECT_EQ(Run(), (List{"a.txt", "b.log", "big.dat", "hidden.txt"}));
    Finder.Criteria.Files.MaxLevel = 0;
    Finder.Criteria.Files.MinLevel = 2;
    EXPECT_EQ(Run(), (List{"other\\e.txt", "sub\\c.txt", "sub\\deep\\d.txt"}));
    Finder.Criteria.Files.MinLevel = 3;
    EXPECT_EQ(Run(), (List{"sub\\deep\\d.txt"}));
}

TEST_F(FileFinderTest, AttributeSizeDateContentAndExclusionCriteria) {
    Finder.Criteria.Attribute.SetAttributes({ffArchive, ffReadonly, ffSystem});
    Finder.Criteria.Files.Location = "<" + Root;
    EXPECT_EQ(Run(), (List{"a.txt", "b.log", "big.dat"}));

    Finder.Criteria.Attribute = TAttributeCriteria();
    Finder.Criteria.Size.Min = 100;
    EXPECT_EQ(Run(), (List{"big.dat"}));
    Finder.Criteria.Size = TSizeCriteria();

    SYSTEMTIME st{};
    st.wYear = 2001, st.wMonth = 2, st.wDay = 3, st.wHour = 12;
    FILETIME old;
    SystemTimeToFileTime(&st, &old);
    HANDLE f = CreateFileA((Root + "b.log").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    SetFileTime(f, nullptr, nullptr, &old);
    CloseHandle(f);
    Finder.Criteria.TimeStamp.ModifiedBefore = EncodeDate(2010, 1, 1);
    EXPECT_EQ(Run(), (List{"b.log"}));
    Finder.Criteria.TimeStamp = TDateTimeCriteria();

    Finder.Criteria.Files.Location = Root;
    Finder.Criteria.Content.SetPhrase("NEEDLE");
    EXPECT_EQ(Run(), (List{"a.txt", "sub\\c.txt"}));
    Finder.Criteria.Files.Excluded.Add("sub\\");
    EXPECT_EQ(Run(), (List{"a.txt"}));
}

TEST_F(FileFinderTest, FolderChangeAnswersSkipFilesOrSubfolders) {
    std::vector<std::string> folders;
    Finder.OnFolderChange = [&](TObject*, const std::string& folder, TFolderIgnore& ignore) {
        folders.push_back(folder.substr(Root.size()));
        if (folder == Root + "sub\\") ignore = fiJustThis;
        if (folder == Root + "other\\") ignore = fiThisAndSubfolders;
    };
    Finder.Criteria.Files.FileName = "*.txt";
    EXPECT_EQ(Run(), (List{"a.txt", "hidden.txt", "sub\\deep\\d.txt"}));
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, (List{"", "other\\", "sub\\", "sub\\deep\\"}));
}

// An unreadable file in a content search is passed over and the folder's other
// files are still searched.
TEST_F(FileFinderTest, ContentSearchSkipsUnreadableFiles) {
    Temp.Write("sub\\0locked.txt", "needle");
    Temp.Write("sub\\zz.txt", "needle");
    HANDLE lock = CreateFileA((Root + "sub\\0locked.txt").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Finder.Criteria.Content.SetPhrase("needle");
    EXPECT_EQ(Run(), (List{"a.txt", "sub\\c.txt", "sub\\zz.txt"}));
    CloseHandle(lock);
}

// A link to a folder is never entered: here one points back at the root (a loop)
// and one outside the chosen folder.
TEST_F(FileFinderTest, DoesNotFollowFolderLinks) {
    TTempFolder outside;
    outside.Write("outside.txt");
    const DWORD flags = SYMBOLIC_LINK_FLAG_DIRECTORY;
    if (!CreateSymbolicLinkA((Root + "sub\\loop").c_str(), Root.c_str(), flags) ||
        !CreateSymbolicLinkA((Root + "out").c_str(), outside.Path().c_str(), flags))
        GTEST_SKIP() << "no folder links here: " << GetLastError();
    ASSERT_TRUE(FileGetAttr(Root + "out") & FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(Run(), (List{"a.txt", "b.log", "big.dat", "hidden.txt", "other\\e.txt", "sub\\c.txt",
                           "sub\\deep\\d.txt"}));
}

TEST_F(FileFinderTest, ThreadedSearchReportsOnTheSearchThreadAndFinishesOnTheMain) {
    Finder.Threaded = true;
    std::vector<DWORD> matchThreads;
    DWORD finishThread = 0, walkEndThread = 0;
    size_t foundAtWalkEnd = 0;
    bool finished = false;
    Finder.OnFileMatch = [&](TObject*, const std::string& folder, const TFindData& f) {
        matchThreads.push_back(GetCurrentThreadId());
        Found.push_back(folder.substr(Root.size()) + f.Name);
    };
    Finder.OnWalkEnd = [&](TObject*) {
        walkEndThread = GetCurrentThreadId();
        foundAtWalkEnd = Found.size();
    };
    Finder.OnSearchFinish = [&](TObject* s) {
        auto* f = static_cast<TFileFinder*>(s);
        finishThread = GetCurrentThreadId();
        finished = !f->Busy();
    };
    Finder.Execute();
    ASSERT_TRUE(PumpUntil([&] { return finished; }));
    EXPECT_EQ(Sorted().size(), 7u);
    EXPECT_EQ(finishThread, GetCurrentThreadId());
    ASSERT_FALSE(matchThreads.empty());
    EXPECT_NE(matchThreads.front(), GetCurrentThreadId());
    EXPECT_EQ(walkEndThread, matchThreads.front());
    EXPECT_EQ(foundAtWalkEnd, 7u); // after the last file
    EXPECT_FALSE(Finder.Aborted());
}

TEST_F(FileFinderTest, OnSearchFinishMayStartTheNextSearch) {
    for (const bool threaded : {false, true}) {
        Finder.Threaded = threaded;
        Finder.Criteria.Files.Location = Root + "sub\\";
        std::vector<std::string> queue = {Root + "other\\"};
        int finishes = 0;
        Finder.OnSearchFinish = [&](TObject* s) {
            auto* f = static_cast<TFileFinder*>(s);
            ++finishes;
            if (queue.empty()) return;
            f->Criteria.Files.Location = queue.back();
            queue.pop_back();
            f->Execute();
        };
        Found.clear();
        Finder.Execute();
        ASSERT_TRUE(PumpUntil([&] { return finishes == 2; }));
        EXPECT_EQ(Sorted(), (List{"other\\e.txt", "sub\\c.txt", "sub\\deep\\d.txt"}));
    }
}

TEST_F(FileFinderTest, AbortStopsAThreadedSearchAndReturnsAfterItsEnd) {
    Finder.Threaded = true;
    std::vector<std::string> events;
    HANDLE matched = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Finder.OnFileMatch = [&](TObject* s, const std::string&, const TFindData&) {
        auto* f = static_cast<TFileFinder*>(s);
        SetEvent(matched);
        while (!f->Aborted())
            Sleep(1); // hold the search until Abort
    };
    std::atomic<bool> walkEnded{false};
    Finder.OnWalkEnd = [&](TObject*) { walkEnded = true; };
    Finder.OnSearchAbort = [&](TObject*) { events.push_back("abort"); };
    Finder.OnSearchFinish = [&](TObject* s) {
        auto* f = static_cast<TFileFinder*>(s);
        events.push_back(f->Aborted() ? "finish aborted" : "finish");
    };
    Finder.Execute();
    Finder.Execute(); // ignored while busy
    ASSERT_EQ(WaitForSingleObject(matched, 10000), WAIT_OBJECT_0);
    Finder.Abort();
    events.push_back("returned");
    EXPECT_EQ(events, (List{"abort", "finish aborted", "returned"}));
    EXPECT_TRUE(walkEnded);
    EXPECT_FALSE(Finder.Busy());
    Finder.Abort(); // nothing runs: nothing happens
    EXPECT_EQ(events.size(), 3u);
    CloseHandle(matched);
}

TEST_F(FileFinderTest, DestroyingABusyFinderWaitsForItsThread) {
    auto finder = std::make_unique<TFileFinder>(nullptr);
    finder->Threaded = true;
    finder->Criteria.Files.FileName = "*.*";
    finder->Criteria.Files.Location = Root;
    bool finishFired = false;
    std::atomic<bool> walkEnded{false}; // the owner may be half gone: nothing is called
    finder->OnWalkEnd = [&](TObject*) { walkEnded = true; };
    finder->OnFileMatch = [](TObject* s, const std::string&, const TFindData&) {
        auto* f = static_cast<TFileFinder*>(s);
        while (!f->Aborted())
            Sleep(1);
    };
    finder->OnSearchFinish = [&](TObject*) { finishFired = true; };
    finder->Execute();
    finder.reset();
    EXPECT_FALSE(finishFired);
    EXPECT_FALSE(walkEnded);
}

// In place, Abort comes from a handler: the walk stops at once and still finishes.
TEST_F(FileFinderTest, AbortFromAHandlerStopsAnInPlaceSearch) {
    std::vector<std::string> events;
    Finder.OnFileMatch = [&](TObject* s, const std::string&, const TFindData&) {
        events.push_back("match");
        static_cast<TFileFinder*>(s)->Abort();
    };
    Finder.OnFolderChange = [&](TObject*, const std::string&, TFolderIgnore&) {
        events.push_back("folder");
    };
    Finder.OnSearchAbort = [&](TObject*) { events.push_back("abort"); };
    Finder.OnWalkEnd = [&](TObject*) { events.push_back("walk end"); };
    Finder.OnSearchFinish = [&](TObject* s) {
        events.push_back(static_cast<TFileFinder*>(s)->Aborted() ? "finish aborted" : "finish");
    };
    Finder.Execute();
    EXPECT_EQ(events, (List{"folder", "match", "abort", "walk end", "finish aborted"}));
    EXPECT_FALSE(Finder.Busy());
}

TEST_F(FileFinderTest, EmptyLocationsStillBeginAndFinish) {
    Finder.Criteria.Files.Location = "";
    int events = 0;
    Finder.OnSearchBegin = [&](TObject*) { ++events; };
    Finder.OnSearchFinish = [&](TObject*) { ++events; };
    EXPECT_TRUE(Run().empty());
    EXPECT_EQ(events, 2);
}

// A handler's exception ends the search: in place it reaches the caller after
// OnSearchFinish; on the search thread the search still finishes on the main thread.
TEST_F(FileFinderTest, ExceptionsEndTheSearchAndStillFinishIt) {
    int finishes = 0;
    Finder.OnSearchFinish = [&](TObject*) { ++finishes; };
    Finder.OnFileMatch = [](TObject*, const std::string&, const TFindData&) {
        throw std::runtime_error("handler failed");
    };
    EXPECT_THROW(Finder.Execute(), std::runtime_error);
    EXPECT_EQ(finishes, 1);
    EXPECT_FALSE(Finder.Busy());

    Finder.Threaded = true;
    Finder.Execute();
    ASSERT_TRUE(PumpUntil([&] { return finishes == 2; }));
    EXPECT_FALSE(Finder.Busy());
}

// Folders listed ahead on another thread change nothing the handlers see: folder
// changes and files come in the order of a plain walk, skipped folders stay skipped,
// and nothing comes after a stop.
TEST_F(FileFinderTest, FoldersListedAheadKeepTheWalksOrderSkipsAndStop) {
    for (int a = 0; a < 6; ++a)
        for (int b = 0; b < 6; ++b)
            for (int f = 0; f < 3; ++f) {
                char name[32];
                std::snprintf(name, sizeof name, "t%d\\u%d\\f%d.txt", a, b, f);
                Temp.Write(name, "x");
            }
    auto answer = [](const std::string& folder) {
        if (folder.find("u1\\") != std::string::npos) return fiThisAndSubfolders;
        if (folder.find("t2\\") == folder.size() - 3) return fiJustThis;
        if (folder.find("u4\\") != std::string::npos) return fiJustSubfolders;
        return fiNone;
    };
    // The same walk, by hand, one folder listing at a time.
    std::vector<std::string> expected;
    std::function<void(const std::string&)> walk = [&](const std::string& folder) {
        expected.push_back("folder " + folder.substr(Root.size()));
        const TFolderIgnore ignore = answer(folder);
        std::vector<std::string> subfolders;
        ForEachFile(folder + "*.*", [&](const TFindData& data) {
            if (data.IsFolder())
                subfolders.push_back(folder + data.Name + "\\");
            else if (ignore == fiNone || ignore == fiJustSubfolders)
                expected.push_back(folder.substr(Root.size()) + data.Name);
            return true;
        });
        if (ignore == fiNone || ignore == fiJustThis)
            for (const std::string& subfolder : subfolders)
                walk(subfolder);
    };
    walk(Root);
    ASSERT_GT(expected.size(), 100u);

    std::vector<std::string> seen;
    Finder.OnFolderChange = [&](TObject*, const std::string& folder, TFolderIgnore& ignore) {
        seen.push_back("folder " + folder.substr(Root.size()));
        ignore = answer(folder);
    };
    Finder.OnFileMatch = [&](TObject*, const std::string& folder, const TFindData& file) {
        seen.push_back(folder.substr(Root.size()) + file.Name);
    };
    for (int run = 0; run < 3; ++run) {
        seen.clear();
        Finder.Execute();
        EXPECT_EQ(seen, expected) << "run " << run;
    }

    // Stopped at the 50th file: the next folder change answers for itself and no file
    // comes after.
    size_t files = 0;
    Finder.OnFileMatch = [&](TObject*, const std::string& folder, const TFindData& file) {
        seen.push_back(folder.substr(Root.size()) + file.Name);
        if (++files == 50) Finder.Abort();
    };
    seen.clear();
    Finder.Execute();
    EXPECT_TRUE(Finder.Aborted());
    ASSERT_LE(seen.size(), expected.size());
    EXPECT_EQ(seen, std::vector<std::string>(expected.begin(), expected.begin() + seen.size()));
    EXPECT_EQ(files, 50u);
}
