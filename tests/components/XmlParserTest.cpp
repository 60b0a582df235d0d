#include "components/XmlParser/XmlParser.h"
#include "classlib/base/Random.h"
#include "components/XmlParser/XmlStrings.h"
#include "support/SmallDrive.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

namespace {
const std::string Declaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n";

std::unique_ptr<TkepXMLNode2> Element(const std::string& name, const std::string& text = "") {
    auto node = std::make_unique<TkepXMLNode2>();
    node->SetName(name);
    node->SetText(text);
    return node;
}
} // namespace

TEST(XmlStrings, PosStrAndReplaceString) {
    EXPECT_EQ(PosStr("ab", "xaab", 3), 3);
    EXPECT_EQ(PosStr("ab", "xaab", 4), 0);
    EXPECT_EQ(PosStr("", "xaab", 1), 0);
    EXPECT_EQ(PosStr("b", "", 1), 0);
    EXPECT_EQ(ReplaceString("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceString("a.b.c", ".", "::"), "a::b::c");
    EXPECT_EQ(ReplaceString("abc", "", "x"), "abc");
}

// The start-up draws leave the shared generator where seeding 255 and drawing until
// 255 non-zero values below 255 leaves it.
TEST(XmlStrings, StartupDrawsAdvanceTheSharedGenerator) {
    uint32_t state = 255;
    for (int found = 0; found < 255;) {
        state = state * 134775813u + 1;
        if ((static_cast<uint64_t>(state) * 255) >> 32) ++found;
    }
    EXPECT_EQ(RandSeed, state);
}

TEST(XmlParser, WritesTheDocumentIndented) {
    TkepXMLParser2 doc;
    doc.SetName("Remover");
    doc.SetText("1");
    auto* deleted = doc.AddNode(Element("Deleted", "1"));
    deleted->AddNode(Element("dt", "x"));
    EXPECT_EQ(doc.GetXML(), Declaration + "<Remover>1\r\n  <Deleted>1\r\n    <dt>x</dt>\r\n"
                                          "  </Deleted>\r\n</Remover>");
    EXPECT_EQ(deleted->Document(), &doc);
    EXPECT_EQ(deleted->GetNode(0)->Document(), &doc);
    EXPECT_EQ(deleted->GetNode(0)->ParentNode(), deleted);
}

TEST(XmlParser, ReadsElementsAttributesAndText) {
    TkepXMLParser2 doc;
    doc.SetXML("<?xml version=\"1.1\"?><!-- c --><a x='1' y=\"2\">t<b/>u</a>trailing");
    ASSERT_EQ(doc.LastError(), "");
    EXPECT_EQ(doc.Name(), "a");
    EXPECT_EQ(doc.Text(), "t");
    ASSERT_EQ(doc.Attributes().Count(), 2);
    EXPECT_EQ(doc.GetAttribute(0), "1");
    EXPECT_EQ(doc.GetAttribute("y"), "2");
    EXPECT_EQ(doc.GetAttribute("Y"), "");
    EXPECT_EQ(doc.GetAttribute(5), "");
    ASSERT_EQ(doc.NodeCount(), 1);
    EXPECT_EQ(doc.GetNode(0)->Name(), "b");
    EXPECT_EQ(doc.GetNode(1), nullptr);
    EXPECT_EQ(doc.Declaration().GetAttribute("version"), "1.1");
    EXPECT_EQ(doc.GetXML().substr(0, 14 + 5), "<?xml version=\"1.1\"");

    doc.SetXML("<a/>");
    EXPECT_EQ(doc.LastError(), "");
    EXPECT_EQ(doc.NodeCount(), 0);
    EXPECT_EQ(doc.Attributes().Count(), 0);
    EXPECT_EQ(doc.GetXML(), "<?xml version=\"1.1\" encoding=\"ISO-8859-1\" ?>\r\n<a/>");
}

TEST(XmlParser, NamesWithPrefixSetTheNamespace) {
    TkepXMLNode2 node;
    node.SetName("ns:item");
    EXPECT_EQ(node.NameSpace(), "ns");
    node.SetName("plain");
    EXPECT_EQ(node.NameSpace(), "ns");
}

TEST(XmlParser, ReportsErrorsWithExcerptPositionAndPartialTree) {
    TkepXMLParser2 doc;
    doc.SetXML("");
    EXPECT_EQ(doc.LastError(), "Missing < near \r\nError position=0\r\n" + Declaration + "</>");

    doc.SetXML("<a><b></c></a>");
    EXPECT_EQ(doc.LastError(), "Opening and closing tags don't match b c near <a><b></c></a>"
                               "\r\nError position=7\r\n" +
                                   Declaration + "<a>\r\n  <b/>\r\n</a>");

    const struct {
        const char* Xml;
        const char* Message;
    } cases[] = {
        {"<a x = '1'/>", "missing value delimiter when parsing attributes near "},
        {"<a x='1' z/>", "missing = when parsing attributes near "},
        {"<a x='1/>", "Expected closing ' when parsing attributes near "},
        {"<a", "Missing > near "},
        {"<a><!-- never closed", "Missing comment terminator -->"},
        {"<a><![CDATA[x</a>", "Expected ]]> when parsing CDATA section"},
        {"<a>text", "Expected < when parsing text"},
        {"<a></b>", "Opening and closing tags don't match a b near "},
    };
    for (const auto& c : cases) {
        doc.SetXML(c.Xml);
        EXPECT_EQ(doc.LastError().rfind(c.Message, 0), 0u) << c.Xml << ": " << doc.LastError();
    }
    // Nesting is capped below what the stack holds for reading, writing and freeing.
    std::string open, close;
    for (int depth = 0; depth <= TkepXMLParser2::MaxDepth; ++depth) {
        open += "<a>";
        close += "</a>";
    }
    doc.SetXML(open + close);
    EXPECT_EQ(doc.LastError(), "");
    doc.SetXML(open + "<a/>" + close);
    EXPECT_EQ(doc.LastError().rfind("Elements nested too deeply near ", 0), 0u);
    doc.SetXML("<?xml version=\"1.0\" <a/>");
    EXPECT_EQ(doc.LastError(), "Missing ?> in xml declaration.");
    EXPECT_THROW(doc.SetXML("<?xml version 1.0 ?><a/>"), EkepXMLError);
}

TEST(XmlParser, LongErrorExcerptStartsTwentyCharactersBeforeThePosition) {
    TkepXMLParser2 doc;
    const std::string xml = "<root><child>" + std::string(60, 'x') + "</other></root>";
    doc.SetXML(xml);
    const std::string& error = doc.LastError();
    const size_t at = error.find(" near ") + 6;
    const size_t position = xml.find("</other>") + 1;
    const std::string excerpt = xml.substr(position - 21, 50); // shorter at the end
    EXPECT_EQ(error.substr(at),
              excerpt + "\r\nError position=" + std::to_string(position) + "\r\n" + doc.GetXML());
}

// Any text survives a write and a read: markup characters, quotes and "]]>" are escaped.
TEST(XmlParser, EscapesAttributesAndTextSoThatAnyValueRoundTrips) {
    const std::string values[] = {"<&>",
                                  "&amp;quot;",
                                  "a<b",
                                  "a&b",
                                  "x]]>y<![CDATA[",
                                  "it's \"quoted\"",
                                  "C:\\Temp\\R&D's file.txt"};
    for (const std::string& v : values) {
        TkepXMLParser2 doc;
        doc.SetName("r");
        doc.AddAttribute("v", v);
        doc.AddNode(Element("t", v));
        TkepXMLParser2 back;
        back.SetXML(doc.GetXML());
        ASSERT_EQ(back.LastError(), "") << v;
        EXPECT_EQ(back.GetAttribute("v"), v);
        EXPECT_EQ(back.GetNode(0)->Text(), v);
    }
    TkepXMLParser2 doc;
    doc.SetName("r");
    doc.AddAttribute("v", "<&>");
    EXPECT_EQ(doc.GetXML(), Declaration + "<r v=\"&lt;&amp;&gt;\"/>");
    // The declaration's values too.
    TkepXMLParser2 declared;
    declared.SetXML("<?xml version='1\"0' encoding='&amp;x' ?><r/>");
    TkepXMLParser2 back;
    back.SetXML(declared.GetXML());
    EXPECT_EQ(back.Declaration().GetAttribute("version"), "1\"0");
    EXPECT_EQ(back.Declaration().GetAttribute("encoding"), "&x");
}

TEST(XmlParser, ReadsCDataSectionsAsTheyStand) {
    TkepXMLParser2 doc;
    doc.SetXML("<a> <![CDATA[ a<b &amp; ]]></a>");
    ASSERT_EQ(doc.LastError(), "");
    EXPECT_EQ(doc.Text(), "a<b &amp;");
}

TEST(XmlParser, GrowsTheOutputForLongPieces) {
    TkepXMLParser2 doc;
    doc.SetName("a");
    doc.SetText(std::string(100000, 'z'));
    const std::string xml = doc.GetXML();
    EXPECT_EQ(xml.size(), Declaration.size() + 3 + 100000 + 4);
    TkepXMLParser2 back;
    back.SetXML(xml);
    EXPECT_EQ(back.Text(), doc.Text());
}

TEST(XmlParser, SavesLoadsAndDeletesNodes) {
    TTempFolder temp;
    TkepXMLParser2 doc;
    doc.SetName("Remover");
    auto* first = doc.AddNode(Element("Deleted"));
    first->AddAttribute("Name", "a.txt");
    doc.AddNode(Element("Deleted"))->AddAttribute("Name", "b.txt");
    doc.DeleteNode(first);
    doc.SaveToFile(temp.Path() + "Backup.xml");

    TkepXMLParser2 back;
    back.LoadFromFile(temp.Path() + "Backup.xml");
    ASSERT_EQ(back.LastError(), "");
    ASSERT_EQ(back.NodeCount(), 1);
    EXPECT_EQ(back.GetNode(0)->GetAttribute("Name"), "b.txt");
    EXPECT_THROW(back.LoadFromFile(temp.Path() + "missing.xml"), EStreamError);
}

// A save that fails for want of space leaves the previous file as it was.
TEST(XmlParser, FailedSaveKeepsThePreviousFile) {
    const std::string root = SmallDriveRoot();
    if (root.empty()) GTEST_SKIP() << "no small drive mapped (TW_SMALL_DRIVE; see scripts/test)";
    const std::string file = root + "Backup.xml";
    const std::string filler = root + "filler.bin";
    TkepXMLParser2 doc;
    doc.SetName("Remover");
    doc.SetText("1");
    doc.SaveToFile(file);
    const std::string saved = FileToString(file);
    {
        TFileStream fill(filler, fmCreate);
        const std::string block(65536, 'f');
        try {
            for (;;)
                fill.WriteBuffer(block.data(), static_cast<int64_t>(block.size()));
        } catch (const EWriteError&) {
            // The drive is full, as wanted.
        }
    }
    doc.SetText(std::string(1 << 20, 'x'));
    EXPECT_ANY_THROW(doc.SaveToFile(file));
    EXPECT_TRUE(FileToString(file) == saved) << "the previous file was overwritten";
    EXPECT_FALSE(FileExists(file + ".tmp"));
    DeleteFileA(filler.c_str());
    DeleteFileA(file.c_str());
}

// Any character survives a file in the declared encoding: ISO-8859-1 keeps its own
// bytes and writes the rest as references; UTF-8 keeps every character as it is.
TEST(XmlParser, FilesCarryAnyCharacterInTheirDeclaredEncoding) {
    TTempFolder temp;
    const std::string value = "caf\u00e9 \u6587\u66f8 \u03b1\u03b2 \U0001F600";
    for (const char* encoding : {"", "UTF-8"}) {
        TkepXMLParser2 doc;
        doc.SetName("Store");
        if (*encoding) doc.Declaration().AddAttribute("encoding", encoding);
        doc.AddAttribute("Name", value);
        doc.AddNode(Element("Item", value));
        doc.SaveToFile(temp / "store.xml");
        const std::string bytes = ReadFileToString(temp / "store.xml");
        if (*encoding)
            EXPECT_NE(bytes.find(value), std::string::npos);
        else
            EXPECT_NE(bytes.find("caf\xE9 &#25991;&#26360; &#945;&#946; &#128512;"),
                      std::string::npos);
        TkepXMLParser2 back;
        back.LoadFromFile(temp / "store.xml");
        EXPECT_EQ(back.LastError(), "");
        EXPECT_EQ(back.GetAttribute("Name"), value) << encoding;
        ASSERT_EQ(back.NodeCount(), 1);
        EXPECT_EQ(back.GetNode(0)->Text(), value) << encoding;
    }
    EXPECT_EQ(XMLUnescape("&#x41;&#66;&amp;#67;&#xD800;&#;"), "AB&#67;&#xD800;&#;");
}
