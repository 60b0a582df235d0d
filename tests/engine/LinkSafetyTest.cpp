// Every destructive path of the engine against host links: links to files and to
// folders, relative and absolute, dangling, a link to a link, a link to the folder
// above the cleaned one, and a profile folder that is itself a link. What the links
// reach stays byte-identical, and only the two files of our own are counted: no
// folder, as both keep links.
#include "classlib/base/Streams.h"
#include "engine/PostEraserItem.h"
#include "engine/WipeTestSupport.h"
#include "engine/erasers/EraseFiles.h"
#include "engine/tools/PluginManager.h"
#include <map>

namespace {

enum TPath { pEraser, pSimulation, pPostEraser, pPlugin, pWipe };

class LinkSafetyTest : public TWipeTestBase, public testing::WithParamInterface<TPath> {
protected:
    void SetUp() override {
        TWipeTestBase::SetUp();
        AddMethod("one.mtd", {BytePass(0)});
        MakeFolder(Dir / "outside\\dir\\deeper");
        MakeFolder(Dir / "clean\\sub");
        WriteAll(Dir / "outside\\secret.txt", "secret");
        WriteAll(Dir / "outside\\dir\\inner.txt", "inner");
        WriteAll(Dir / "outside\\dir\\deeper\\deep.txt", "deep");
        WriteAll(Dir / "outside\\settings.ini", "[S]\r\nK=V\r\n");
        WriteAll(Dir / "outside\\gone.txt", "gone");
        WriteAll(Dir / "clean\\own.txt", "own");
        WriteAll(Dir / "clean\\sub\\own2.txt", "own2");
        FileSetAttr(Dir / "clean\\sub\\own2.txt", FILE_ATTRIBUTE_READONLY);
        const struct {
            const char* Name;
            std::string Target;
            bool Absolute;
        } links[] = {
            {"clean\\file", Dir / "outside\\secret.txt", true},
            {"clean\\relative", "../outside/secret.txt", false},
            {"clean\\sub\\readonly", Dir / "outside\\secret.txt", true},
            {"clean\\folder", Dir / "outside\\dir", true},
            {"clean\\relfolder", "../outside/dir", false},
            {"clean\\linktolink", Dir / "clean\\file", true},
            {"clean\\ini", Dir / "outside\\settings.ini", true},
            {"clean\\dangling", Dir / "outside\\gone.txt", true},
            {"clean\\above", Dir.Path(), true},
            {"profile", Dir / "outside\\dir", true},
        };
        for (const auto& link : links) {
            Links.push_back(Dir / link.Name);
            if (!MakeHostLink(Links.back(), link.Target, link.Absolute))
                GTEST_SKIP() << "host links cannot be made here";
        }
        FileSetAttr(Dir / "outside\\secret.txt", FILE_ATTRIBUTE_READONLY);
        SetFileAttributesW(ToWide(Dir / "outside\\gone.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(ToWide(Dir / "outside\\gone.txt").c_str());
        Before = Outside();
        Engine.PostEraser.FileName = Dir / "posterase.dat";
    }
    void TearDown() override {
        RemoveHostLinks(Links);
        FileSetAttr(Dir / "outside\\secret.txt", FILE_ATTRIBUTE_NORMAL);
        TWipeTestBase::TearDown();
    }

    // Every file of the outside tree with its bytes and attributes.
    std::map<std::string, std::string> Outside() const {
        std::map<std::string, std::string> files;
        for (const char* name :
             {"secret.txt", "dir\\inner.txt", "dir\\deeper\\deep.txt", "settings.ini"}) {
            const std::string path = Dir / "outside\\" + name;
            files[name] = ReadAll(path) + "|" + IntToStr(FileGetAttr(path));
        }
        return files;
    }
    // The links themselves and entries reached through them.
    std::vector<std::string> Reached() const {
        std::vector<std::string> paths = Links;
        for (const char* name : {"clean\\folder\\inner.txt", "clean\\above\\outside\\secret.txt",
                                 "profile\\deeper\\deep.txt"})
            paths.push_back(Dir / name);
        return paths;
    }
    bool Logged(const std::string& path) const {
        for (const std::string& line : Engine.Lines)
            if (line.rfind(path + ": ", 0) == 0) return true;
        for (const std::string& line : Wipe.Errors)
            if (line.rfind(path + ": ", 0) == 0) return true;
        return false;
    }

    void RunEraser(bool simulation) {
        TEraseFiles eraser("LinkFiles", "Link Files");
        Engine.AddEraser(&eraser);
        eraser.Enabled = true;
        Engine.SimulationMode = simulation;
        eraser.AddFolder(Dir / "clean", "*.*", false, true);
        eraser.AddFolder(Dir / "profile", "*.*", true, true);
        for (const std::string& path : Reached())
            eraser.AddFile(path);
        Engine.Execute();
    }
    void RunPostEraser() {
        for (const std::string& path : Reached()) {
            Engine.PostEraser.Add(PostEraserItem(ptDeleteFile, path));
        }
        Engine.PostEraser.Add(
            PostEraserItem(ptRemoveLine, Dir / "clean\\ini", nullptr, "", "", "", "K=V"));
        Engine.PostEraser.Execute();
    }
    void RunPlugin() {
        const auto action = [](int type, int folderType, int fileType, const std::string& attrs) {
            return Format("<Action ActionType=\"%d\" FolderActionType=\"%d\" FileActionType="
                          "\"%d\" IncludeSubDirs=\"True\" %s/>",
                          type, folderType, fileType, attrs.c_str());
        };
        std::string actions = action(0, 0, 0, "Folder=\"" + Dir / "clean\"") +
                              action(0, 1, 0, "Folder=\"" + Dir / "profile\"") +
                              action(1, 0, 1,
                                     "FileName=\"" + Dir / "clean\\ini\" SectionName=\"S\" "
                                                           "KeyName=\"K\"");
        for (const std::string& path : Reached())
            actions += action(1, 0, 0, "FileName=\"" + path + "\"");
        WriteStringToFile(Dir / "links.ppw", "<?xml version=\"1.0\"?><Plugin Name=\"links\" "
                                             "Version=\"2.0\"><RegistryActions/><FileActions>" +
                                                 actions + "</FileActions></Plugin>");
        TPluginManager manager;
        manager.Engine = &Engine;
        manager.CheckedPlugins.Add(Dir / "links.ppw");
        manager.Execute();
    }
    void RunWipe() {
        Wipe.Add(wkFolder, Dir / "clean");
        Wipe.Add(wkFolder, Dir / "profile");
        for (const std::string& path : Reached())
            Wipe.Add(wkFile, path);
        EXPECT_FALSE(Wipe.Execute());
        for (const auto& item : Wipe.Items())
            EXPECT_FALSE(item->Shredded) << item->Path;
    }

    std::vector<std::string> Links;
    std::map<std::string, std::string> Before;
    TRecordingEngine Engine;
    THookedEngine Wipe{"WipeFiles"};
};

} // namespace

TEST_P(LinkSafetyTest, NothingIsReachedThroughALinkNorCountedThatStays) {
    switch (GetParam()) {
    case pEraser:
    case pSimulation: RunEraser(GetParam() == pSimulation); break;
    case pPostEraser: RunPostEraser(); break;
    case pPlugin: RunPlugin(); break;
    case pWipe: RunWipe(); break;
    }
    EXPECT_EQ(Outside(), Before);
    for (const std::string& link : Links)
        EXPECT_TRUE(Listed(link) || link == Dir / "clean\\dangling") << link;
    // Nothing is deferred, and the next-start eraser keeps no link for another start.
    EXPECT_EQ(Engine.PostEraser.Count(), 0);

    const bool counts = GetParam() == pEraser || GetParam() == pSimulation || GetParam() == pPlugin;
    if (counts) {
        EXPECT_EQ(Engine.FilesErased, 2);
        EXPECT_EQ(Engine.BytesErased, 7);
        EXPECT_EQ(Engine.FoldersErased, 0); // both folders keep links
    }
    if (counts || GetParam() == pWipe) {
        for (const char* reported : {"clean\\file", "clean\\folder", "clean\\above", "profile",
                                     "clean\\folder\\inner.txt"})
            EXPECT_TRUE(Logged(Dir / reported)) << reported;
    }
    const bool erases = GetParam() == pEraser || GetParam() == pPlugin || GetParam() == pWipe;
    EXPECT_EQ(Listed(Dir / "clean\\own.txt"), !erases);
    EXPECT_EQ(Listed(Dir / "clean\\sub\\own2.txt"), !erases);
}

INSTANTIATE_TEST_SUITE_P(Paths, LinkSafetyTest,
                         testing::Values(pEraser, pSimulation, pPostEraser, pPlugin, pWipe));
