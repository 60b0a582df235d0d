// The program's XML parser beside MSXML (through the class library's document class)
// loading and saving the same 5 MiB "Backup.xml"-shaped document in one process.
// Usage: bench_XmlParser [folder]   (default: the temporary folder)
#include "components/XmlParser/XmlParser.h"
#include "bench/BenchSupport.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include "classlib/base/XMLDoc.h"
#include <algorithm>
#include <cstdio>
#include <functional>
#include <windows.h>

namespace {
// Entries like the store of removed files writes, until the text reaches 5 MiB.
void WriteDocument(const std::string& fileName) {
    TkepXMLParser2 doc;
    doc.SetName("Remover");
    doc.SetText("1");
    for (int i = 0; doc.NodeCount() == 0 || i % 1000 != 0 || doc.GetXML().size() < 5u << 20; ++i) {
        auto entry = std::make_unique<TkepXMLNode2>();
        entry->SetName("Deleted");
        entry->AddAttribute("Name", "C:\\Documents and Settings\\User\\Local Settings\\Temp\\file" +
                                        std::to_string(i) + ".tmp");
        entry->AddAttribute("Description", "Junk File");
        auto date = std::make_unique<TkepXMLNode2>();
        date->SetName("dt");
        date->SetText("12/7/2026 8:00:" + std::to_string(i % 60));
        entry->AddNode(std::move(date));
        doc.AddNode(std::move(entry));
    }
    doc.SaveToFile(fileName);
}
} // namespace

int main(int argc, char** argv) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = IncludeTrailingPathDelimiter(argc > 1 ? argv[1] : temp);
    const std::string source = folder + "bench_xml.xml";
    const std::string output = folder + "bench_xml_out.xml";
    WriteDocument(source);
    std::printf("document: %lld bytes\n", static_cast<long long>(FileSizeOf(source)));

    TkepXMLParser2 own;
    const double ownLoad = BestSeconds([&] { own.LoadFromFile(source); });
    const double ownSave = BestSeconds([&] { own.SaveToFile(output); });
    std::printf("own parser: load %.3f s, save %.3f s, %d entries%s\n", ownLoad, ownSave,
                own.NodeCount(), own.LastError().empty() ? "" : " (parse error!)");

    TCoInitScope com;
    TXMLDocument msxml;
    const double msLoad = BestSeconds([&] { msxml.LoadFromFile(source); });
    const double msSave = BestSeconds([&] { msxml.SaveToFile(output); });
    std::printf("MSXML:      load %.3f s, save %.3f s\n", msLoad, msSave);
    std::printf("ratio own/MSXML: load %.2f, save %.2f (goal: at most 1)\n", ownLoad / msLoad,
                ownSave / msSave);
    SysDeleteFile(source);
    SysDeleteFile(output);
    return 0;
}
