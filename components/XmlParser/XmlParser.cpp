#include "components/XmlParser/XmlParser.h"
#include "classlib/base/SysUtils.h"
#include "components/XmlParser/XmlStrings.h"
#include <algorithm>

void TkepXMLNode2::SetName(const std::string& name) {
    FName = name;
    const size_t colon = name.find(':');
    if (colon != std::string::npos) FNameSpace = name.substr(0, colon);
}

TkepXMLNode2* TkepXMLNode2::AddNode(std::unique_ptr<TkepXMLNode2> child) {
    child->FParentNode = this;
    auto* asDocument = dynamic_cast<TkepXMLParser2*>(this);
    child->FDocument = asDocument ? asDocument : FDocument;
    return FNodes.Add(std::move(child));
}

TkepXMLNode2* TkepXMLNode2::GetNode(int index) const {
    return index >= 0 && index < FNodes.Count() ? FNodes[index] : nullptr;
}

void TkepXMLNode2::AddAttribute(const std::string& name, const std::string& value) {
    FAttributes.Add(std::make_unique<TkepXMLAttribute2>(TkepXMLAttribute2{name, value}));
}

std::string TkepXMLNode2::GetAttribute(int index) const {
    return index >= 0 && index < FAttributes.Count() ? FAttributes[index]->Value : "";
}

std::string TkepXMLNode2::GetAttribute(const std::string& name) const {
    const int i = IndexOfAttribute(name);
    return i < 0 ? "" : FAttributes[i]->Value;
}

int TkepXMLNode2::IndexOfAttribute(const std::string& name) const {
    for (int i = 0; i < FAttributes.Count(); ++i)
        if (FAttributes[i]->Name == name) return i;
    return -1;
}

void TkepXMLNode2::ClearTree() {
    FAttributes.Clear();
    FNodes.Clear();
    FName.clear();
    FText.clear();
}

std::string XMLEscape(const std::string& s) {
    if (s.find_first_of("&<>'\"") == std::string::npos) return s;
    std::string r = ReplaceString(s, "&", "&amp;");
    r = ReplaceString(r, "<", "&lt;");
    r = ReplaceString(r, ">", "&gt;");
    r = ReplaceString(r, "'", "&apos;");
    return ReplaceString(r, "\"", "&quot;");
}

std::string XMLUnescape(const std::string& s) {
    if (s.find('&') == std::string::npos) return s;
    std::string r = ReplaceString(s, "&lt;", "<");
    r = ReplaceString(r, "&gt;", ">");
    r = ReplaceString(r, "&apos;", "'");
    r = ReplaceString(r, "&quot;", "\"");
    return ReplaceString(r, "&amp;", "&");
}

namespace {
// Reads name="value" pairs of a trimmed text into the element.
void ParseAttributes(std::string s, TkepXMLNode2& element) {
    while (!s.empty()) {
        const size_t eq = s.find('=');
        if (eq == std::string::npos) throw EkepXMLError("missing = when parsing attributes");
        const char delim = eq + 1 < s.size() ? s[eq + 1] : '\0';
        if (delim != '"' && delim != '\'')
            throw EkepXMLError("missing value delimiter when parsing attributes");
        const size_t close = s.find(delim, eq + 2);
        if (close == std::string::npos)
            throw EkepXMLError(std::string("Expected closing ") + delim +
                               " when parsing attributes");
        element.AddAttribute(Trim(s.substr(0, eq)), XMLUnescape(s.substr(eq + 2, close - eq - 2)));
        s.erase(0, close + 1);
    }
}
} // namespace

void TkepXMLParser2::SetXML(const std::string& xml) {
    FXML = xml;
    Parse();
}

void TkepXMLParser2::LoadFromFile(const std::string& fileName) {
    SetXML(FileToString(fileName));
}

void TkepXMLParser2::SaveToFile(const std::string& fileName) const {
    WriteStringToFileAtomically(fileName, GetXML());
}

int TkepXMLParser2::FindFromPos(const char* what) const {
    return PosStr(what, FXML, FPos);
}

void TkepXMLParser2::Fail(const std::string& message) const {
    throw EkepXMLError(message);
}

void TkepXMLParser2::Parse() {
    ClearTree();
    FPos = 1;
    FLastError.clear();
    const int lt = FindFromPos("<");
    if (lt > 0 && FXML.compare(static_cast<size_t>(lt) - 1, 5, "<?xml") == 0) {
        const int end = PosStr("?>", FXML, lt);
        if (end == 0) {
            FLastError = "Missing ?> in xml declaration.";
            return;
        }
        FPos = end + 2;
        // Errors in the declaration reach the caller.
        ParseAttributes(Trim(FXML.substr(static_cast<size_t>(lt) + 4, end - lt - 5)), FDeclaration);
    }
    try {
        ParseElement(nullptr);
    } catch (const EkepXMLError& e) {
        FLastError = ErrorReport(e.Message());
    }
}

std::string TkepXMLParser2::ErrorReport(const std::string& message) const {
    const size_t from = FPos < 21 ? 0 : static_cast<size_t>(FPos) - 21;
    const std::string excerpt = from < FXML.size() ? FXML.substr(from, 50) : "";
    return message + " near " + excerpt + "\r\nError position=" + std::to_string(FPos) + "\r\n" +
           GetXML();
}

// Reads one element below parent (nullptr: the root, which is the document itself).
// Returns false at an end tag, leaving the position at its "<".
bool TkepXMLParser2::ParseElement(TkepXMLNode2* parent) {
    FPos = FindFromPos("<");
    if (FPos == 0) Fail("Missing <");
    if (FXML.compare(static_cast<size_t>(FPos) - 1, 4, "<!--") == 0) {
        const int end = FindFromPos("-->");
        if (end == 0) Fail("Missing comment terminator -->");
        FPos = end + 3;
        FPos = FindFromPos("<");
        if (FPos == 0) Fail("Missing <");
    }
    const int close = FindFromPos(">");
    if (close == 0) Fail("Missing >");
    std::string tag = FXML.substr(static_cast<size_t>(FPos), close - FPos - 1);
    if (!tag.empty() && tag[0] == '/') return false;
    FPos = close + 1;

    const bool empty = !tag.empty() && tag.back() == '/';
    if (empty) tag = Trim(tag.substr(0, tag.size() - 1));
    const size_t blank = tag.find(' ');
    const std::string name = tag.substr(0, blank);
    const std::string attributes = blank == std::string::npos ? "" : Trim(tag.substr(blank + 1));

    TkepXMLNode2* element = this;
    if (parent) element = parent->AddNode(std::make_unique<TkepXMLNode2>());
    element->SetName(name);
    if (!attributes.empty()) ParseAttributes(attributes, *element);
    if (!empty) {
        ParseText(*element);
        while (ParseElement(element)) {
        }
        ParseEndTag(*element);
    }
    return true;
}

void TkepXMLParser2::ParseEndTag(const TkepXMLNode2& element) {
    FPos = FindFromPos("<");
    if (FPos == 0) Fail("Missing <");
    const int close = FindFromPos(">");
    if (close == 0) Fail("Missing >");
    const std::string tag = FXML.substr(static_cast<size_t>(FPos), close - FPos - 1);
    if (tag.empty() || tag[0] != '/') Fail("Not a matching end tag" + tag);
    if (tag.substr(1) != element.Name())
        Fail("Opening and closing tags don't match " + element.Name() + " " + tag.substr(1));
    FPos = close + 1;
}

// Element text up to the next tag, or one CDATA section taken as it stands.
void TkepXMLParser2::ParseText(TkepXMLNode2& element) {
    const int lt = FindFromPos("<");
    if (lt == 0) Fail("Expected < when parsing text");
    if (FXML.compare(static_cast<size_t>(lt) - 1, 9, "<![CDATA[") == 0) {
        FPos = lt + 9;
        const int end = FindFromPos("]]>");
        if (end == 0) Fail("Expected ]]> when parsing CDATA section");
        element.SetText(Trim(FXML.substr(static_cast<size_t>(FPos) - 1, end - FPos)));
        FPos = end + 3;
        return;
    }
    element.SetText(XMLUnescape(Trim(FXML.substr(static_cast<size_t>(FPos) - 1, lt - FPos))));
    FPos = lt;
}

namespace {
void WriteElement(std::string& out, const TkepXMLNode2& e, int level) {
    const std::string indent(static_cast<size_t>(level) * 2, ' ');
    out += indent + "<" + e.Name();
    for (const auto& a : e.Attributes())
        out += " " + a->Name + "=\"" + XMLEscape(a->Value) + "\"";
    if (e.NodeCount() == 0) {
        if (e.Text().empty())
            out += "/>";
        else
            out += ">" + XMLEscape(e.Text()) + "</" + e.Name() + ">";
        return;
    }
    out += ">" + XMLEscape(e.Text());
    for (const auto& child : e.Nodes()) {
        out += "\r\n";
        WriteElement(out, *child, level + 1);
    }
    out += "\r\n" + indent + "</" + e.Name() + ">";
}
} // namespace

std::string TkepXMLParser2::GetXML() const {
    std::string out;
    out.reserve(65536);
    std::string version = FDeclaration.GetAttribute("version");
    std::string encoding = FDeclaration.GetAttribute("encoding");
    if (version.empty()) version = "1.0";
    if (encoding.empty()) encoding = "ISO-8859-1";
    out += "<?xml version=\"" + version + "\" encoding=\"" + encoding + "\" ?>\r\n";
    WriteElement(out, *this, 0);
    return out;
}
