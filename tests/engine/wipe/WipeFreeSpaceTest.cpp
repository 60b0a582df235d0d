// Free-space wiping of a small drive of the prefix. scripts/test maps a small
// tmpfs to a drive letter and names it in TW_SMALL_DRIVE; without it the tests skip.
#include "classlib/base/SysUtils.h"
#include "engine/Progress.h"
#include "engine/SharedRoutines.h"
#include "engine/WipeTestSupport.h"
#include "support/SmallDrive.h"

namespace {

// Names of the root's files, the temporary file names the wipe uses included.
std::vector<std::string> RootFiles(const std::string& root) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((root + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(data.cFileName);
    while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

} // namespace

class WipeFreeSpaceTest : public TWipeTestBase {
protected:
    void SetUp() override {
        Root = SmallDriveRoot();
        if (Root.empty())
            GTEST_SKIP() << "no small drive mapped (TW_SMALL_DRIVE; see scripts/test)";
        TWipeTestBase::SetUp();
        AddMethod("fill.mtd", {BytePass(0xEE)});
        Manager().WipeSlackSpace = true; // the last buffer cannot grow a full drive
        Manager().BufferSize = 65536;
        // The name the fixed temporary-file naming would take, and another file.
        WriteAll(Root + "tem1.tmp", "user file");
        WriteAll(Root + "keep.txt", std::string(10000, 'k'));
        Start = GetFreeBytes(Root);
        Engine.Add(wkFreeSpace, Root);
    }
    void TearDown() override {
        if (Root.empty()) return;
        for (const std::string& name : RootFiles(Root))
            DeleteFileA((Root + name).c_str());
        TWipeTestBase::TearDown();
    }
    // The wipe's own temporary file, if it exists.
    std::string FillFile() const {
        for (const std::string& name : RootFiles(Root))
            if (name != "tem1.tmp" && name != "keep.txt" && name != "fill.link") return Root + name;
        return "";
    }

    std::string Root;
    int64_t Start = 0;
    THookedEngine Engine{"WipeFreeSpace"};
};

TEST_F(WipeFreeSpaceTest, FillsOverwritesAndRemovesItsFileOnly) {
    const std::string link = Root + "fill.link";
    std::vector<std::string> labels;
    Engine.OnPump = [&](THookedEngine& e) {
        const std::string fill = FillFile();
        if (!fill.empty() && !FileExists(link))
            CreateHardLinkA(link.c_str(), fill.c_str(), nullptr);
        const std::string label =
            e.Progress()->lblFile->Caption() + "|" + e.Progress()->lblPass->Caption();
        if (labels.empty() || labels.back() != label) labels.push_back(label);
    };
    EXPECT_TRUE(Engine.Execute()) << Engine.ErrorText();
    EXPECT_EQ(ReadAll(Root + "tem1.tmp"), "user file");
    EXPECT_EQ(ReadAll(Root + "keep.txt"), std::string(10000, 'k'));
    EXPECT_EQ(FillFile(), "");
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[1], "Creating temporary file...|");
    EXPECT_NE(labels[2].find(".tmp|Pass 1 of 1"), std::string::npos) << labels[2];

    const std::string written = ReadAll(link);
    EXPECT_GE(static_cast<int64_t>(written.size()), Start - 4096);
    EXPECT_EQ(written.find_first_not_of('\xEE'), std::string::npos);
    DeleteFileA(link.c_str());
    EXPECT_EQ(GetFreeBytes(Root), Start);
}

TEST_F(WipeFreeSpaceTest, CancelRemovesTheFileSoTheDriveIsNotLeftFull) {
    // The fill pumps at most every 10 ms: a slow pump is called after every block.
    Engine.OnPump = [&](THookedEngine& e) {
        Sleep(15);
        if (GetFreeBytes(Root) < Start / 2) e.Cancelled = true;
    };
    EXPECT_FALSE(Engine.Execute());
    EXPECT_EQ(FillFile(), "");
    EXPECT_EQ(GetFreeBytes(Root), Start);
    EXPECT_EQ(ReadAll(Root + "tem1.tmp"), "user file");
}

TEST_F(WipeFreeSpaceTest, WithoutAMethodTheDriveIsNotFilled) {
    Manager().Methods.clear();
    int64_t lowest = Start;
    Engine.OnPump = [&](THookedEngine&) { lowest = std::min(lowest, GetFreeBytes(Root)); };
    EXPECT_FALSE(Engine.Execute());
    EXPECT_EQ(Engine.Errors.size(), 1u);
    EXPECT_GE(lowest, Start - 4096);
    EXPECT_EQ(FillFile(), "");
}
