#include "engine/wipe/Shredder.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/XMLDoc.h"
#include "engine/WipeTestSupport.h"

namespace {

void AddItem(TWipeEngine& engine, uint8_t kind, const std::string& path) {
    auto item = std::make_unique<TWipeItem>();
    item->Kind = kind;
    item->Path = path;
    engine.AddItem(std::move(item));
}

std::vector<std::string> Paths(const TWipeEngine& engine) {
    std::vector<std::string> paths;
    for (const auto& item : engine.Items())
        paths.push_back(item->Path);
    return paths;
}

} // namespace

class ShredderTest : public TWipeTestBase {
protected:
    TXMLDocument Doc;
    TXMLNode Root = Doc.CreateDocumentElement("Configuration");
};

TEST_F(ShredderTest, BindsEachEngineToItsMethod) {
    TWipeMethod& first = AddMethod("first.mtd", {BytePass(1)});
    TWipeMethod& second = AddMethod("second.mtd", {BytePass(2)});
    TWipeEngine bound("WipeFolders");
    Manager().SetEngineMethod(bound, &second);
    TShredder shredder;
    EXPECT_EQ(shredder.WipeFiles.Method, &first);
    EXPECT_EQ(shredder.WipeFolders.Method, &second);
}

TEST_F(ShredderTest, ListsRoundTripInOrder) {
    TShredder saved;
    AddItem(saved.WipeFiles, wkFile, "C:\\b.txt");
    AddItem(saved.WipeFiles, wkFile, "C:\\a.txt");
    AddItem(saved.WipeFolders, wkFolder, "C:\\Folder");
    AddItem(saved.WipeFreeSpace, wkFreeSpace, "D:\\");
    saved.CleanFreeSpaceEnabled = true;
    saved.SaveToXML(Root);
    const TXMLNode element = Root.FindNode("Shredder");
    EXPECT_EQ(element.Attribute("CleanFreeSpaceEnabled"), "True");
    EXPECT_EQ(element.FindNode("WipeFolders").ChildNodes()[0].Attribute("Folder"), "C:\\Folder");

    TShredder loaded;
    loaded.LoadFromXML(Root);
    EXPECT_EQ(Paths(loaded.WipeFiles), (std::vector<std::string>{"C:\\b.txt", "C:\\a.txt"}));
    EXPECT_EQ(Paths(loaded.WipeFolders), std::vector<std::string>{"C:\\Folder"});
    EXPECT_EQ(Paths(loaded.WipeFreeSpace), std::vector<std::string>{"D:\\"});
    EXPECT_EQ(loaded.WipeFreeSpace.Items()[0]->Kind, wkFreeSpace);
    EXPECT_TRUE(loaded.CleanFreeSpaceEnabled);
}

TEST_F(ShredderTest, EmptyShredderAndOddElements) {
    TShredder empty;
    empty.SaveToXML(Root);
    const TXMLNode element = Root.FindNode("Shredder");
    EXPECT_EQ(element.ChildNodes().size(), 3u);
    EXPECT_EQ(element.Attribute("CleanFreeSpaceEnabled"), "False");

    Doc.LoadFromXML("<Configuration><Shredder CleanFreeSpaceEnabled=\"1\"><WipeFiles><Item/><Other "
                    "FileName=\"x\"/>"
                    "</WipeFiles></Shredder></Configuration>");
    TShredder loaded;
    AddItem(loaded.WipeFolders, wkFolder, "C:\\stale");
    loaded.LoadFromXML(Doc.DocumentElement());
    EXPECT_EQ(Paths(loaded.WipeFiles), (std::vector<std::string>{"", "x"}));
    EXPECT_TRUE(loaded.WipeFolders.Items().empty()); // a missing list empties it
    EXPECT_TRUE(loaded.CleanFreeSpaceEnabled);

    Doc.LoadFromXML("<Configuration><Shredder CleanFreeSpaceEnabled=\"maybe\"/></Configuration>");
    EXPECT_THROW(loaded.LoadFromXML(Doc.DocumentElement()), EConvertError);
}
