// The program's XML parser, or MSXML through the class library's document class,
// loading or saving a 5 MiB "Backup.xml"-shaped document, in seconds.
//   bench_XmlParser write <file>                    makes the document
//   bench_XmlParser own-load|msxml-load <file>
//   bench_XmlParser own-save|msxml-save <file> <output>
#include "components/XmlParser/XmlParser.h"
#include "bench/BenchSupport.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include "classlib/base/XMLDoc.h"
#include <stdexcept>

namespace {

// Entries like the store of removed files writes, until the text reaches 5 MiB.
double Write(const std::vector<std::string>& args) {
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
    doc.SaveToFile(Arg(args, 0));
    return static_cast<double>(FileSizeOf(Arg(args, 0)));
}

void LoadOwn(TkepXMLParser2& doc, const std::string& fileName) {
    doc.LoadFromFile(fileName);
    if (!doc.LastError().empty()) throw std::runtime_error("parse error: " + doc.LastError());
}

// Every side runs once untimed first, so that both parsers meet a warm heap and
// file cache, then times a second run on a fresh document.
template <class TDoc> double TimedLoad(const std::function<void(TDoc&)>& load) {
    {
        TDoc warm;
        load(warm);
    }
    TDoc doc;
    return Seconds([&] { load(doc); });
}

template <class TDoc>
double TimedSave(const std::function<void(TDoc&)>& load, const std::string& output) {
    TDoc doc;
    load(doc);
    doc.SaveToFile(output);
    return Seconds([&] { doc.SaveToFile(output); });
}

double OwnLoad(const std::vector<std::string>& args) {
    return TimedLoad<TkepXMLParser2>([&](TkepXMLParser2& doc) { LoadOwn(doc, Arg(args, 0)); });
}

double OwnSave(const std::vector<std::string>& args) {
    return TimedSave<TkepXMLParser2>([&](TkepXMLParser2& doc) { LoadOwn(doc, Arg(args, 0)); },
                                     Arg(args, 1));
}

double MsxmlLoad(const std::vector<std::string>& args) {
    TCoInitScope com;
    return TimedLoad<TXMLDocument>([&](TXMLDocument& doc) { doc.LoadFromFile(Arg(args, 0)); });
}

double MsxmlSave(const std::vector<std::string>& args) {
    TCoInitScope com;
    return TimedSave<TXMLDocument>([&](TXMLDocument& doc) { doc.LoadFromFile(Arg(args, 0)); },
                                   Arg(args, 1));
}

} // namespace

int main(int argc, char** argv) {
    return RunSide(argc, argv,
                   {{"write", Write},
                    {"own-load", OwnLoad},
                    {"own-save", OwnSave},
                    {"msxml-load", MsxmlLoad},
                    {"msxml-save", MsxmlSave}},
                   "bench_XmlParser write|own-load|msxml-load <file> | own-save|msxml-save "
                   "<file> <output>");
}
