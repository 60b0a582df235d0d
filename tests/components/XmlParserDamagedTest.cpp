// Damaged documents through the program's own XML reader: each is read or refused
// with an error, and what is read is written back so that it reads the same again.
#include "classlib/base/Streams.h"
#include "components/XmlParser/XmlParser.h"
#include "support/DamagedInput.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

namespace {

// A store as the program writes it, with names in other scripts.
std::string StoreSeed() {
    TkepXMLParser2 doc;
    doc.SetName("Remover");
    doc.SetText("3");
    const char* paths[] = {"C:\\data\\report.txt", "C:\\\u6587\u66f8\\a & b <c>.txt",
                           "\\\\server\\share\\x.dll"};
    for (int n = 1; n <= 3; ++n) {
        auto deleted = std::make_unique<TkepXMLNode2>();
        deleted->SetName("Deleted");
        deleted->SetText(std::to_string(n));
        for (const auto& [name, text] :
             {std::pair<const char*, std::string>{"Description", "Duplicate File"},
              {"oFile", paths[n - 1]},
              {"dt", "12/0" + std::to_string(n) + "/2026 10:1" + std::to_string(n) + ":00"}}) {
            auto child = std::make_unique<TkepXMLNode2>();
            child->SetName(name);
            child->SetText(text);
            deleted->AddNode(std::move(child));
        }
        doc.AddNode(std::move(deleted));
    }
    return doc.GetXML();
}

// What else the reader takes: both delimiters, references, CDATA, a comment, prefixes.
const char* const RichSeed =
    "<?xml version='1.0' encoding=\"UTF-8\"?>\n"
    "<ns:root a='1' b=\"x &amp; y &lt;&#233;&#x1F600;\">text\n"
    "  <!-- a comment --><item n=\"2\"><![CDATA[a<b>c]]></item>\n"
    "  <empty x='' />\n"
    "  <deep><deeper><deepest k=\"&quot;&apos;\">\u00e9t\u00e9</deepest></deeper></deep>\n"
    "</ns:root>";

} // namespace

TEST(XmlParserDamaged, EveryDamagedDocumentIsReadOrRefused) {
    TTempFolder temp;
    const std::string file = temp / "doc.xml";
    TDamagedRun run("XML", 1000000, 100000);
    run.Seeds = {StoreSeed(), RichSeed, "<a/>"};
    run.Run([&](const std::string& damaged, uint32_t seed) {
        TkepXMLParser2 doc;
        try {
            if (seed % 100 == 0) { // through the file reader: encodings and marks
                WriteCaseFile(file, damaged);
                doc.LoadFromFile(file);
            } else {
                doc.SetXML(damaged);
            }
        } catch (const EkepXMLError& e) { // the declaration's attributes
            EXPECT_FALSE(e.Message().empty());
            return;
        }
        if (!doc.LastError().empty()) return; // refused with its reason
        const std::string written = doc.GetXML();
        TkepXMLParser2 again;
        again.SetXML(written);
        ASSERT_EQ(again.LastError(), "") << written;
        EXPECT_EQ(again.GetXML(), written);
    });
}
