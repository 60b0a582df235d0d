#include "classlib/base/XMLDoc.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "support/RandomText.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

namespace {

const char* const kItemAttributes[] = {"Type",      "FileName",  "RootKey", "Key",
                                       "ValueName", "ValueData", "BATLine"};

} // namespace

TEST(XMLDoc, SavedDocumentIsIndentedAndKeepsOrder) {
    TTempFolder temp;
    std::string name = temp / "posterase.dat";
    {
        TXMLDocument doc;
        TXMLNode root = doc.CreateDocumentElement("PostEraser");
        TXMLNode first = root.AddChild("Item");
        for (const char* a : kItemAttributes)
            first.SetAttribute(a, "");
        first.SetAttribute("Type", "1"); // an existing attribute keeps its place
        first.SetAttribute("FileName", "C:\\a & b <c>.txt");
        TXMLNode second = root.AddChild("Item");
        second.SetAttribute("Type", "4");
        second.SetAttribute("ValueData", "say \"hi\"\r\n\tcaf\u00e9 \u6587\U0001F600");
        doc.SaveToFile(name);
    }
    EXPECT_EQ(ReadFileToString(name),
              "<?xml version=\"1.0\"?>\r\n"
              "<PostEraser>\r\n"
              "  <Item Type=\"1\" FileName=\"C:\\a &amp; b &lt;c&gt;.txt\" RootKey=\"\" Key=\"\" "
              "ValueName=\"\" ValueData=\"\" BATLine=\"\"/>\r\n"
              "  <Item Type=\"4\" ValueData=\"say &quot;hi&quot;&#13;&#10;&#9;caf\u00e9 "
              "\u6587\U0001F600\"/>\r\n"
              "</PostEraser>\r\n");
    EXPECT_FALSE(FileExists(name + ".tmp"));

    TXMLDocument back;
    back.LoadFromFile(name);
    TXMLNode root = back.DocumentElement();
    EXPECT_EQ(root.NodeName(), "PostEraser");
    std::vector<TXMLNode> items = root.ChildNodes();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].AttributeNames(),
              std::vector<std::string>(std::begin(kItemAttributes), std::end(kItemAttributes)));
    EXPECT_EQ(items[0].Attribute("FileName"), "C:\\a & b <c>.txt");
    EXPECT_EQ(items[1].Attribute("ValueData"), "say \"hi\"\r\n\tcaf\u00e9 \u6587\U0001F600");
    EXPECT_TRUE(items[1].HasAttribute("Type"));
    EXPECT_FALSE(items[1].HasAttribute("Key"));
    EXPECT_EQ(items[1].Attribute("Key"), "");
}

TEST(XMLDoc, FailedSaveKeepsTheOldFile) {
    TTempFolder temp;
    const std::string name = temp / "prefs.dat";
    WriteStringToFile(name, "old");
    TXMLDocument doc;
    doc.CreateDocumentElement("Configuration");
    {
        TFileStream lock(name, fmOpenRead | fmShareExclusive);
        EXPECT_THROW(doc.SaveToFile(name), EFCreateError);
    }
    EXPECT_EQ(ReadFileToString(name), "old");
    EXPECT_FALSE(FileExists(name + ".tmp"));
}

TEST(XMLDoc, ReindentingIsStable) {
    const std::string expected = "<?xml version=\"1.0\"?>\r\n"
                                 "<Configuration>\r\n"
                                 "  <Options Access=\"\"/>\r\n"
                                 "  <Browsers>\r\n"
                                 "    <IE>\r\n"
                                 "      <Item Name=\"x\"/>\r\n"
                                 "    </IE>\r\n"
                                 "    <!-- note -->\r\n"
                                 "    <Opera/>\r\n"
                                 "  </Browsers>\r\n"
                                 "  <Exclude>  two  blanks </Exclude>\r\n"
                                 "</Configuration>\r\n";
    TXMLDocument doc;
    doc.LoadFromXML(
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Configuration><Options Access=\"\"/>"
        "<Browsers><IE><Item Name=\"x\"/></IE><!-- note --><Opera></Opera></Browsers>"
        "<Exclude>  two  blanks </Exclude></Configuration>");
    EXPECT_EQ(doc.XML(), expected);
    TXMLDocument again;
    again.LoadFromXML(expected);
    EXPECT_EQ(again.XML(), expected);
    EXPECT_EQ(again.DocumentElement().FindNode("Exclude").Text(), "  two  blanks ");
}

TEST(XMLDoc, NodeEditing) {
    TXMLDocument doc;
    EXPECT_FALSE(doc.DocumentElement());
    TXMLNode root = doc.CreateDocumentElement("Configuration");
    root.AddChild("Options");
    TXMLNode misc = root.AddChild("Misc");
    misc.AddChild("ShortCuts").SetText("a<b");
    EXPECT_EQ(root.FindNode("Misc").FindNode("ShortCuts").Text(), "a<b");
    EXPECT_FALSE(root.FindNode("misc")); // names match exactly
    root.RemoveChild(root.FindNode("Options"));
    ASSERT_EQ(root.ChildNodes().size(), 1u);
    EXPECT_EQ(root.ChildNodes()[0].NodeName(), "Misc");
    TXMLNode none = root.FindNode("Absent");
    EXPECT_EQ(none.FindNode("Deeper").Attribute("x"), ""); // empty nodes read as empty
    EXPECT_TRUE(none.ChildNodes().empty());
    EXPECT_THROW(none.SetAttribute("x", "1"), EXMLDocError);
    doc.CreateDocumentElement("Other");
    EXPECT_EQ(doc.DocumentElement().NodeName(), "Other");
}

TEST(XMLDoc, LoadErrorsCarryTheReason) {
    TXMLDocument doc;
    try {
        doc.LoadFromXML("<a><b></a>");
        FAIL();
    } catch (const EXMLDocError& e) {
        EXPECT_EQ(e.Message().rfind("Invalid XML document: ", 0), 0u) << e.Message();
    }
    TTempFolder temp;
    WriteStringToFile(temp / "bad.xml", "<Configuration><Options></Configuration>");
    EXPECT_THROW(doc.LoadFromFile(temp / "bad.xml"), EXMLDocError);
    EXPECT_THROW(doc.LoadFromFile(temp / "missing.xml"), EFOpenError);
}

namespace {

bool XmlAllows(wchar_t c) {
    return (c >= 0x20 || c == L'\t' || c == L'\n' || c == L'\r') && c != 0xFFFE && c != 0xFFFF;
}

} // namespace

// Whatever text a setting holds, the saved document reads back: in attributes, where
// settings live, characters XML allows come back as they were and the ones it forbids
// as U+FFFD.
TEST(XMLDoc, AnyTextSavedReadsBack) {
    const unsigned seed = 20261208;
    std::mt19937 rng(seed);
    TTempFolder temp;
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> texts;
        TXMLDocument doc;
        TXMLNode root = doc.CreateDocumentElement("Configuration");
        for (int i = 0; i < 10; ++i) {
            texts.push_back(ToUtf8(RandomText(rng)));
            TXMLNode item = root.AddChild("Item");
            item.SetAttribute("Value", texts.back());
        }
        doc.SaveToFile(temp / "prefs.dat");
        TXMLDocument back;
        ASSERT_NO_THROW(back.LoadFromFile(temp / "prefs.dat"))
            << "seed " << seed << " round " << round;
        const std::vector<TXMLNode> items = back.DocumentElement().ChildNodes();
        ASSERT_EQ(items.size(), texts.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            const std::wstring set = ToWide(texts[i]);
            const std::wstring got = ToWide(items[i].Attribute("Value"));
            ASSERT_EQ(got.size(), set.size()) << "round " << round << " item " << i;
            for (size_t k = 0; k < set.size(); ++k)
                if (got[k] != set[k]) {
                    EXPECT_EQ(got[k], 0xFFFD) << "round " << round << " item " << i;
                    EXPECT_FALSE(XmlAllows(set[k])) << "round " << round << " item " << i;
                }
        }
    }
}
