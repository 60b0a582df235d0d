#include "classlib/base/Handle.h"
#include "classlib/base/Random.h"
#include "classlib/base/SysUtils.h"
#include "engine/Progress.h"
#include "engine/SharedRoutines.h"
#include "engine/WipeTestSupport.h"

namespace {

const std::string Scrambled = std::string(245, 'a') + ".aaa";

} // namespace

class WipeEngineTest : public TWipeTestBase {
protected:
    // A file of size bytes of 'u' with a link that outlives it.
    std::string UserFile(const std::string& name, size_t size, std::string& link) {
        const std::string path = (Dir / name);
        WriteAll(path, std::string(size, 'u'));
        link = Engine.LinkWhenOpened(path, path + ".link");
        return path;
    }
    THookedEngine Engine;
};

TEST_F(WipeEngineTest, EveryPassKindWritesItsBytesThenTheFileIsRenamedAndDeleted) {
    TPass random;
    random.WipeWith = wwRandomBytes;
    random.RandomBytesValue2 = 255;
    AddMethod("kinds.mtd", {BytePass(0x5A), TextPass("xyz"), random});
    std::string link;
    const std::string path = UserFile("data.bin", 10000, link);
    // Buffers of 4096: the text pass repeats "xyz" within each buffer.
    const std::string textBlock = FillWithText("xyz", 4096);
    const std::string textFile = (textBlock + textBlock + textBlock).substr(0, 10000);
    bool sawText = false;
    Engine.OnPump = [&](THookedEngine&) { sawText = sawText || ReadAll(link) == textFile; };
    Engine.Add(wkFile, path);
    RandSeed = 255;
    EXPECT_TRUE(Engine.Execute()) << Engine.ErrorText();
    EXPECT_TRUE(sawText);
    RandSeed = 255;
    const std::string randomBlock = random.GetPassData(4096);
    EXPECT_EQ(ReadAll(link), (randomBlock + randomBlock + randomBlock).substr(0, 10000));
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(FileExists((Dir / Scrambled)));
    EXPECT_TRUE(Engine.Items()[0]->Shredded);
}

TEST_F(WipeEngineTest, SlackAndSignature) {
    AddMethod("one.mtd", {BytePass(1), BytePass(2), BytePass(3)});
    Manager().WipeSlackSpace = true;
    Manager().BufferSize = 524288;
    Manager().WriteSignature = true;
    Manager().Signature = "Sig";
    std::string smallLink, nearLink;
    Engine.Add(wkFile, UserFile("small.bin", 10000, smallLink)); // N = 12288 < buffer
    Engine.Add(wkFile, UserFile("near.bin", 524000, nearLink));  // N = 524288: one buffer
    EXPECT_TRUE(Engine.Execute()) << Engine.ErrorText();
    EXPECT_EQ(ReadAll(smallLink), FillWithText("Sig", 10000));
    EXPECT_EQ(ReadAll(nearLink), FillWithText("Sig", 524288));
}

TEST_F(WipeEngineTest, ReadOnlyHiddenFileIsShredded) {
    AddMethod("one.mtd", {BytePass(0)});
    std::string link;
    const std::string path = UserFile("locked.bin", 100, link);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    Engine.Add(wkFile, path);
    EXPECT_TRUE(Engine.Execute()) << Engine.ErrorText();
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(ReadAll(link), std::string(100, '\0'));
}

// A file is kept, unchanged, and the failure reported, whenever nothing could be
// written over it; its item stays in the list.
TEST_F(WipeEngineTest, NothingToWriteKeepsTheFile) {
    const std::vector<std::function<void()>> faults = {
        [] {},                              // no method loaded
        [] { AddMethod("empty.mtd", {}); }, // no passes
        [] {
            AddMethod("text.mtd", {BytePass(1), TextPass("")});
        }, // empty text pattern
        [] {
            AddMethod("one.mtd", {BytePass(1)});
            Manager().BufferSize = 0;
        },
    };
    for (size_t i = 0; i < faults.size(); ++i) {
        Manager().Methods.clear();
        faults[i]();
        const std::string path = (Dir / "keep" + std::to_string(i));
        WriteAll(path, "precious");
        Engine.Clear();
        Engine.Add(wkFile, path);
        EXPECT_FALSE(Engine.Execute()) << i;
        EXPECT_EQ(ReadAll(path), "precious") << i;
        EXPECT_EQ(Engine.Errors.size(), 1u) << i;
        Engine.ClearShredded();
        EXPECT_EQ(Engine.Items().size(), 1u) << i;
    }
}

TEST_F(WipeEngineTest, FileInUseStaysAndTheRunGoesOn) {
    AddMethod("one.mtd", {BytePass(0)});
    const std::string busy = (Dir / "busy.bin"), free = (Dir / "free.bin");
    WriteAll(busy, "busy");
    WriteAll(free, "free");
    TFileHandle lock(
        CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    Engine.Add(wkFile, busy);
    Engine.Add(wkFile, free);
    EXPECT_FALSE(Engine.Execute());
    lock.Reset();
    EXPECT_EQ(ReadAll(busy), "busy");
    EXPECT_FALSE(FileExists(free));
    Engine.ClearShredded();
    ASSERT_EQ(Engine.Items().size(), 1u);
    EXPECT_EQ(Engine.Items()[0]->Path, busy);
}

TEST_F(WipeEngineTest, CancelBetweenBlocksKeepsWhatWasWritten) {
    AddMethod("two.mtd", {BytePass(0x11), BytePass(0x22)});
    std::string link;
    const std::string path = UserFile("three.bin", 3 * 4096, link);
    Engine.OnPump = [&](THookedEngine& e) {
        if (ReadAll(link)[0] == 0x22) e.Cancelled = true; // the first block of pass 2
    };
    Engine.Add(wkFile, path);
    EXPECT_FALSE(Engine.Execute());
    EXPECT_EQ(ReadAll(path), std::string(4096, 0x22) + std::string(8192, 0x11));
    EXPECT_FALSE(Engine.Items()[0]->Shredded);
}

TEST_F(WipeEngineTest, CancelBetweenPassesKeepsTheFirstPass) {
    AddMethod("two.mtd", {BytePass(0x11), BytePass(0x22)});
    std::string link;
    const std::string path = UserFile("small.bin", 100, link); // below one buffer
    Engine.OnPump = [&](THookedEngine& e) {
        if (ReadAll(link)[0] == 0x11) e.Cancelled = true; // after pass 1
    };
    Engine.Add(wkFile, path);
    EXPECT_FALSE(Engine.Execute());
    EXPECT_EQ(ReadAll(path), std::string(100, 0x11));
}

// In a folder short enough for the scrambled name to fit, the file is renamed to it
// and deleted under it: nothing is left behind.
TEST_F(WipeEngineTest, RenamedFileIsDeletedUnderItsNewName) {
    AddMethod("one.mtd", {BytePass(0)});
    const std::string folder = "C:\\w" + std::to_string(GetCurrentProcessId() % 10000);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    const std::string path = folder + "\\f.txt";
    WriteAll(path, "short");
    Engine.Add(wkFile, path);
    EXPECT_TRUE(Engine.Execute()) << Engine.ErrorText();
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(FileExists(folder + "\\" + Scrambled));
    EXPECT_TRUE(RemoveDirectoryA(folder.c_str())); // empty
}

TEST_F(WipeEngineTest, CancelBetweenFilesSkipsTheRest) {
    AddMethod("one.mtd", {BytePass(0)});
    const std::string first = (Dir / "first.bin"), second = (Dir / "second.bin");
    WriteAll(first, "1");
    WriteAll(second, "2");
    Engine.OnPump = [&](THookedEngine& e) {
        if (!FileExists(first)) e.Cancelled = true;
    };
    Engine.Add(wkFile, first);
    Engine.Add(wkFile, second);
    EXPECT_FALSE(Engine.Execute());
    EXPECT_EQ(ReadAll(second), "2");
    Engine.ClearShredded();
    ASSERT_EQ(Engine.Items().size(), 1u);
    EXPECT_EQ(Engine.Items()[0]->Path, second);
}

TEST_F(WipeEngineTest, RunningEngineRefusesASecondStartAndListChanges) {
    AddMethod("one.mtd", {BytePass(0)});
    const std::string path = (Dir / "one.bin");
    WriteAll(path, std::string(10000, 'u'));
    bool nested = true, cleared = true;
    Engine.OnPump = [&](THookedEngine& e) {
        nested = nested && !e.Execute();
        cleared = cleared && !e.Clear();
    };
    Engine.Add(wkFile, path);
    EXPECT_TRUE(Engine.Execute()) << Engine.ErrorText();
    EXPECT_TRUE(nested);
    EXPECT_TRUE(cleared);
    EXPECT_FALSE(Engine.Running());
    EXPECT_TRUE(Engine.Clear());
}

// Sizes are 64-bit: a file past 4 GiB is overwritten to its end.
TEST_F(WipeEngineTest, FileOver4GiBIsOverwrittenWhole) {
    AddMethod("one.mtd", {BytePass(0x77)});
    Manager().BufferSize = 8 << 20;
    const std::string path = (Dir / "large.bin");
    const int64_t size = (int64_t{4} << 30) + 8192;
    if (GetFreeBytes(Dir.Path()) < size * 2)
        GTEST_SKIP() << "not enough free disk space for a file over 4 GiB";
    {
        TFileHandle file(
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        LARGE_INTEGER end{};
        end.QuadPart = size;
        ASSERT_TRUE(SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) &&
                    SetEndOfFile(file.Get()));
    }
    const std::string link = Engine.LinkWhenOpened(path, path + ".link");
    Engine.Add(wkFile, path);
    EXPECT_TRUE(Engine.Execute()) << Engine.ErrorText();
    TFileHandle file(CreateFileA(link.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    for (int64_t offset : {int64_t{0}, (int64_t{4} << 30) - 4096, size - 4096}) {
        LARGE_INTEGER at{};
        at.QuadPart = offset;
        char block[4096];
        DWORD read = 0;
        ASSERT_TRUE(SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN));
        ASSERT_TRUE(ReadFile(file.Get(), block, sizeof block, &read, nullptr));
        EXPECT_EQ(std::string(block, read), std::string(4096, 0x77)) << offset;
    }
    file.Reset();
    DeleteFileA(link.c_str());
}

// The window counts the signature as the last pass; its Cancel button stops the run
// before the next file.
TEST_F(WipeEngineTest, ProgressWindowCountsPassesAndItsCancelStopsTheRun) {
    AddMethod("three.mtd", {BytePass(1), BytePass(2), BytePass(3)});
    Manager().WriteSignature = true;
    Manager().Signature = "S";
    std::string link;
    Engine.Add(wkFile, UserFile("first.bin", 100, link));
    const std::string second = (Dir / "second.bin");
    WriteAll(second, "second");
    Engine.Add(wkFile, second);
    std::vector<std::string> labels;
    Engine.OnPump = [&](THookedEngine& e) {
        const std::string label = e.Progress()->lblPass->Caption();
        if (labels.empty() || labels.back() != label) labels.push_back(label);
        if (label == "Pass 4 of 4") SendMessageA(e.Progress()->btnCancel->Handle(), BM_CLICK, 0, 0);
    };
    EXPECT_FALSE(Engine.Execute());
    EXPECT_EQ(labels, (std::vector<std::string>{"", "Pass 1 of 4", "Pass 2 of 4", "Pass 3 of 4",
                                                "Pass 4 of 4"}));
    EXPECT_EQ(ReadAll(link), std::string(100, 'S'));
    EXPECT_EQ(ReadAll(second), "second");
    EXPECT_EQ(Engine.Progress(), nullptr);
}
