#include "components/XmlParser/XmlParser.h"
#include "classlib/base/SysUtils.h"
#include "components/XmlParser/XmlStrings.h"
#include <algorithm>
#include <charconv>
#include <string_view>

void TkepXMLNode2::SetName(std::string name) {
    const size_t colon = name.find(':');
    if (colon != std::string::npos) FNameSpace = name.substr(0, colon);
    FName = std::move(name);
}

TkepXMLNode2* TkepXMLNode2::AddNode(std::unique_ptr<TkepXMLNode2> child) {
    child->FParentNode = this;
    child->FDocument = FDocument ? FDocument : dynamic_cast<TkepXMLParser2*>(this);
    return FNodes.Add(std::move(child));
}

TkepXMLNode2* TkepXMLNode2::GetNode(int index) const {
    return index >= 0 && index < FNodes.Count() ? FNodes[index] : nullptr;
}

void TkepXMLNode2::AddAttribute(std::string name, std::string value) {
    FAttributes.Add(
        std::make_unique<TkepXMLAttribute2>(TkepXMLAttribute2{std::move(name), std::move(value)}));
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

namespace {
// The code point of a character reference's digits ("233", "x1F600"); 0 when invalid.
uint32_t ReferencedCode(const std::string& digits) {
    const bool hex = !digits.empty() && (digits[0] == 'x' || digits[0] == 'X');
    const char* first = digits.data() + hex;
    const char* last = digits.data() + digits.size();
    uint32_t code = 0;
    auto [end, error] = std::from_chars(first, last, code, hex ? 16 : 10);
    const bool valid = first != last && end == last && error == std::errc() && code <= 0x10FFFF &&
                       (code < 0xD800 || code > 0xDFFF);
    return valid ? code : 0;
}

std::string CodePointToUtf8(uint32_t code) {
    std::wstring w;
    if (code >= 0x10000) {
        w += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
        w += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
        w += static_cast<wchar_t>(code);
    }
    return ToUtf8(w);
}

// "&#233;" and "&#x1F600;" as UTF-8; a broken reference stays as it is.
std::string DecodeCharReferences(const std::string& s) {
    std::string r;
    size_t pos = 0;
    for (size_t hit; (hit = s.find("&#", pos)) != std::string::npos;) {
        const size_t end = s.find(';', hit);
        const uint32_t code =
            end == std::string::npos ? 0 : ReferencedCode(s.substr(hit + 2, end - hit - 2));
        r.append(s, pos, hit - pos);
        if (code == 0) {
            r += "&#";
            pos = hit + 2;
            continue;
        }
        r += CodePointToUtf8(code);
        pos = end + 1;
    }
    return r.append(s, pos, std::string::npos);
}
} // namespace

std::string XMLUnescape(std::string_view s) {
    if (s.find('&') == std::string_view::npos) return std::string(s);
    std::string r = ReplaceString(DecodeCharReferences(std::string(s)), "&lt;", "<");
    r = ReplaceString(r, "&gt;", ">");
    r = ReplaceString(r, "&apos;", "'");
    r = ReplaceString(r, "&quot;", "\"");
    return ReplaceString(r, "&amp;", "&");
}

namespace {
// The parser works on views of the text: copies are made only of what it keeps.
std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Reads name="value" pairs of a trimmed text into the element.
void ParseAttributes(std::string_view s, TkepXMLNode2& element) {
    while (!s.empty()) {
        const size_t eq = s.find('=');
        if (eq == std::string_view::npos) throw EkepXMLError("missing = when parsing attributes");
        const char delim = eq + 1 < s.size() ? s[eq + 1] : '\0';
        if (delim != '"' && delim != '\'')
            throw EkepXMLError("missing value delimiter when parsing attributes");
        const size_t close = s.find(delim, eq + 2);
        if (close == std::string_view::npos)
            throw EkepXMLError(std::string("Expected closing ") + delim +
                               " when parsing attributes");
        element.AddAttribute(std::string(Trimmed(s.substr(0, eq))),
                             XMLUnescape(s.substr(eq + 2, close - eq - 2)));
        s.remove_prefix(close + 1);
    }
}

// The encoding the text's declaration names; "" without one.
std::string DeclaredEncoding(const std::string& xml) {
    const size_t lt = xml.find('<');
    if (lt == std::string::npos || xml.compare(lt, 5, "<?xml") != 0) return "";
    const size_t end = xml.find("?>", lt);
    if (end == std::string::npos) return "";
    TkepXMLNode2 declaration;
    try {
        ParseAttributes(Trimmed(std::string_view(xml).substr(lt + 5, end - lt - 5)), declaration);
    } catch (const EkepXMLError&) {
        return ""; // the parse reports it
    }
    return declaration.GetAttribute("encoding");
}

// Files are kept in the encoding they declare: ISO-8859-1 (written by default) and
// windows-1252 in their code page, UTF-8 and anything else as UTF-8.
UINT FileCodePage(const std::string& encoding) {
    if (SameText(encoding, "ISO-8859-1") || SameText(encoding, "latin1")) return 28591;
    if (SameText(encoding, "windows-1252")) return 1252;
    return CP_UTF8;
}

std::string DecodeFile(std::string bytes, UINT codePage) {
    if (codePage == CP_UTF8 || IsAscii(bytes)) return bytes;
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(),
                        static_cast<int>(wide.size()));
    return ToUtf8(wide);
}

// A character the code page lacks is written as a reference ("&#25991;").
std::string EncodeFile(const std::string& text, UINT codePage) {
    if (codePage == CP_UTF8 || IsAscii(text)) return text;
    const std::wstring wide = ToWide(text);
    std::string bytes;
    for (size_t i = 0; i < wide.size(); ++i) {
        const wchar_t c = wide[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size()) {
            const uint32_t code = 0x10000 + ((c - 0xD800u) << 10) + (wide[++i] - 0xDC00u);
            bytes += "&#" + std::to_string(code) + ";";
            continue;
        }
        char encoded[8];
        BOOL lost = FALSE;
        const int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, &c, 1, encoded,
                                          sizeof encoded, nullptr, &lost);
        if (n > 0 && !lost)
            bytes.append(encoded, n);
        else
            bytes += "&#" + std::to_string(static_cast<uint32_t>(c)) + ";";
    }
    return bytes;
}
} // namespace

void TkepXMLParser2::SetXML(std::string xml) {
    FXML = std::move(xml);
    Parse();
}

std::string ReadXMLFile(const std::string& fileName) {
    std::string bytes = FileToString(fileName);
    const UINT codePage = FileCodePage(DeclaredEncoding(bytes));
    return DecodeFile(std::move(bytes), codePage);
}

void TkepXMLParser2::LoadFromFile(const std::string& fileName) {
    SetXML(ReadXMLFile(fileName));
}

void TkepXMLParser2::SaveToFile(const std::string& fileName) const {
    const std::string xml = GetXML();
    WriteStringToFileAtomically(fileName, EncodeFile(xml, FileCodePage(DeclaredEncoding(xml))));
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
        ParseAttributes(
            Trimmed(std::string_view(FXML).substr(static_cast<size_t>(lt) + 4, end - lt - 5)),
            FDeclaration);
    }
    try {
        ParseElement(nullptr, 0);
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
// Returns false at an end tag, leaving the position at its "<". The depth is capped:
// reading, writing and freeing the tree recurse once per level.
bool TkepXMLParser2::ParseElement(TkepXMLNode2* parent, int depth) {
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
    std::string_view tag =
        std::string_view(FXML).substr(static_cast<size_t>(FPos), close - FPos - 1);
    if (!tag.empty() && tag[0] == '/') return false;
    if (depth > MaxDepth) Fail("Elements nested too deeply");
    FPos = close + 1;

    const bool empty = !tag.empty() && tag.back() == '/';
    if (empty) tag = Trimmed(tag.substr(0, tag.size() - 1));
    const size_t blank = tag.find(' ');
    const std::string_view name = tag.substr(0, blank);
    const std::string_view attributes =
        blank == std::string_view::npos ? "" : Trimmed(tag.substr(blank + 1));

    TkepXMLNode2* element = this;
    if (parent) element = parent->AddNode(std::make_unique<TkepXMLNode2>());
    element->SetName(std::string(name));
    if (!attributes.empty()) ParseAttributes(attributes, *element);
    if (!empty) {
        ParseText(*element);
        while (ParseElement(element, depth + 1)) {
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
    const std::string_view tag =
        std::string_view(FXML).substr(static_cast<size_t>(FPos), close - FPos - 1);
    if (tag.empty() || tag[0] != '/') Fail("Not a matching end tag" + std::string(tag));
    if (tag.substr(1) != element.Name())
        Fail("Opening and closing tags don't match " + element.Name() + " " +
             std::string(tag.substr(1)));
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
        element.SetText(std::string(
            Trimmed(std::string_view(FXML).substr(static_cast<size_t>(FPos) - 1, end - FPos))));
        FPos = end + 3;
        return;
    }
    element.SetText(XMLUnescape(
        Trimmed(std::string_view(FXML).substr(static_cast<size_t>(FPos) - 1, lt - FPos))));
    FPos = lt;
}

namespace {
void AppendEscaped(std::string& out, const std::string& s) {
    if (s.find_first_of("&<>'\"") == std::string::npos)
        out += s;
    else
        out += XMLEscape(s);
}

// Appends piece by piece: no temporary strings per element.
void WriteElement(std::string& out, const TkepXMLNode2& e, int level) {
    const size_t indent = static_cast<size_t>(level) * 2;
    out.append(indent, ' ').append("<").append(e.Name());
    for (const auto& a : e.Attributes()) {
        out.append(" ").append(a->Name).append("=\"");
        AppendEscaped(out, a->Value);
        out += '"';
    }
    if (e.NodeCount() == 0 && e.Text().empty()) {
        out += "/>";
        return;
    }
    out += '>';
    AppendEscaped(out, e.Text());
    if (e.NodeCount() == 0) {
        out.append("</").append(e.Name()).append(">");
        return;
    }
    for (const auto& child : e.Nodes()) {
        out += "\r\n";
        WriteElement(out, *child, level + 1);
    }
    out.append("\r\n").append(indent, ' ').append("</").append(e.Name()).append(">");
}
} // namespace

std::string TkepXMLParser2::GetXML() const {
    std::string out;
    out.reserve(65536);
    std::string version = FDeclaration.GetAttribute("version");
    std::string encoding = FDeclaration.GetAttribute("encoding");
    if (version.empty()) version = "1.0";
    if (encoding.empty()) encoding = "ISO-8859-1";
    // Escaped as attribute values are: a damaged declaration must read back the same.
    out += "<?xml version=\"" + XMLEscape(version) + "\" encoding=\"" + XMLEscape(encoding) +
           "\" ?>\r\n";
    WriteElement(out, *this, 0);
    return out;
}
