#include "classlib/base/XMLDoc.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Handle.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include <msxml2.h>
#include <cstring>

namespace {

// mingw's import libraries lack the MSXML class and interface ids.
const CLSID kDOMDocument60 = {0x88d96a05, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};
const CLSID kDOMDocument30 = {0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
const IID kIXMLDOMDocument = {0x2933bf81, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};
const IID kIXMLDOMElement = {0x2933bf86, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

class TBStr {
public:
    TBStr() = default;
    explicit TBStr(const std::string& s) {
        std::wstring w = ToWide(s);
        FStr = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
    }
    ~TBStr() { SysFreeString(FStr); }
    TBStr(const TBStr&) = delete;
    TBStr& operator=(const TBStr&) = delete;
    [[nodiscard]] BSTR Get() const { return FStr; }
    BSTR* Out() {
        SysFreeString(FStr);
        FStr = nullptr;
        return &FStr;
    }
    [[nodiscard]] std::wstring Wide() const { return FStr ? std::wstring(FStr, SysStringLen(FStr)) : std::wstring(); }
    [[nodiscard]] std::string Ansi() const { return ToAnsi(Wide()); }

private:
    BSTR FStr = nullptr;
};

class TVariant {
public:
    TVariant() { VariantInit(&FValue); }
    ~TVariant() { VariantClear(&FValue); }
    TVariant(const TVariant&) = delete;
    TVariant& operator=(const TVariant&) = delete;
    VARIANT* operator&() { return &FValue; }
    VARIANT& Get() { return FValue; }

private:
    VARIANT FValue;
};

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw EXMLDocError(Format("%s failed (0x%08lX)", what, static_cast<unsigned long>(hr)));
}

std::wstring NodeName(IXMLDOMNode* node) {
    TBStr name;
    node->get_nodeName(name.Out());
    return name.Wide();
}

std::wstring NodeValue(IXMLDOMNode* node) {
    TVariant value;
    if (FAILED(node->get_nodeValue(&value)) || value.Get().vt != VT_BSTR) return {};
    return std::wstring(value.Get().bstrVal, SysStringLen(value.Get().bstrVal));
}

DOMNodeType NodeType(IXMLDOMNode* node) {
    DOMNodeType type = NODE_INVALID;
    node->get_nodeType(&type);
    return type;
}

// Calls f for each child node in document order.
template <class F>
void ForEachChild(IXMLDOMNode* parent, F f) {
    TComPtr<IXMLDOMNode> child;
    parent->get_firstChild(child.Out());
    while (child) {
        f(child.Get());
        TComPtr<IXMLDOMNode> next;
        child->get_nextSibling(next.Out());
        child = std::move(next);
    }
}

bool IsText(DOMNodeType type) { return type == NODE_TEXT || type == NODE_CDATA_SECTION; }

bool IsBlank(const std::wstring& s) { return s.find_first_not_of(L" \t\r\n") == std::wstring::npos; }

std::wstring Escape(const std::wstring& s, bool attribute) {
    std::wstring r;
    for (wchar_t c : s) {
        switch (c) {
            case L'&': r += L"&amp;"; break;
            case L'<': r += L"&lt;"; break;
            case L'>': r += L"&gt;"; break;
            case L'\r': r += L"&#13;"; break;  // parsers turn a raw CR LF into LF
            case L'"': r += attribute ? L"&quot;" : L"\""; break;
            case L'\n': r += attribute ? L"&#10;" : L"\n"; break;
            case L'\t': r += attribute ? L"&#9;" : L"\t"; break;
            default: r += c;
        }
    }
    return r;
}

// Writes one node. A level of -1 writes it as it is, without indentation: used inside
// elements holding text, whose white space is part of the data.
void WriteNode(IXMLDOMNode* node, int level, std::wstring& out);

void WriteElement(IXMLDOMNode* node, int level, std::wstring& out) {
    const std::wstring name = NodeName(node);
    const std::wstring indent(level > 0 ? 2 * level : 0, L' ');
    out += indent + L"<" + name;
    TComPtr<IXMLDOMNamedNodeMap> attributes;
    long count = 0;
    if (SUCCEEDED(node->get_attributes(attributes.Out())) && attributes) attributes->get_length(&count);
    for (long i = 0; i < count; ++i) {
        TComPtr<IXMLDOMNode> attribute;
        if (FAILED(attributes->get_item(i, attribute.Out())) || !attribute) continue;
        out += L" " + NodeName(attribute.Get()) + L"=\"" + Escape(NodeValue(attribute.Get()), true) + L"\"";
    }
    bool hasChildren = false, hasText = false, hasOther = false;
    ForEachChild(node, [&](IXMLDOMNode* child) {
        hasChildren = true;
        DOMNodeType type = NodeType(child);
        if (!IsText(type)) hasOther = true;
        else if (type == NODE_CDATA_SECTION || !IsBlank(NodeValue(child))) hasText = true;
    });
    if (!hasChildren) {
        out += L"/>";
        return;
    }
    out += L">";
    const bool asIs = level < 0 || hasText || !hasOther;
    ForEachChild(node, [&](IXMLDOMNode* child) {
        if (asIs) return WriteNode(child, -1, out);
        if (NodeType(child) == NODE_TEXT) return;  // indentation of the loaded document
        out += L"\r\n";
        WriteNode(child, level + 1, out);
    });
    if (!asIs) out += L"\r\n" + indent;
    out += L"</" + name + L">";
}

void WriteNode(IXMLDOMNode* node, int level, std::wstring& out) {
    const std::wstring indent(level > 0 ? 2 * level : 0, L' ');
    switch (NodeType(node)) {
        case NODE_ELEMENT: WriteElement(node, level, out); break;
        case NODE_TEXT: out += Escape(NodeValue(node), false); break;
        case NODE_CDATA_SECTION: out += L"<![CDATA[" + NodeValue(node) + L"]]>"; break;
        case NODE_COMMENT: out += indent + L"<!--" + NodeValue(node) + L"-->"; break;
        case NODE_PROCESSING_INSTRUCTION:
            out += indent + L"<?" + NodeName(node) + L" " + NodeValue(node) + L"?>";
            break;
        default: break;
    }
}

std::wstring WriteDocument(IXMLDOMDocument* doc) {
    std::wstring out = L"<?xml version=\"1.0\"?>\r\n";
    ForEachChild(doc, [&](IXMLDOMNode* child) {
        DOMNodeType type = NodeType(child);
        if (type == NODE_TEXT || (type == NODE_PROCESSING_INSTRUCTION && NodeName(child) == L"xml"))
            return;
        WriteNode(child, 0, out);
        out += L"\r\n";
    });
    return out;
}

std::string ToUtf8(const std::wstring& s) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string r(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), r.data(), n, nullptr, nullptr);
    return r;
}

TComPtr<IXMLDOMElement> AsElement(IXMLDOMNode* node) {
    TComPtr<IXMLDOMElement> element;
    if (node) node->QueryInterface(kIXMLDOMElement, element.OutVoid());
    return element;
}

}  // namespace

// TXMLNode

TXMLNode::TXMLNode(IXMLDOMElement* e) : FElement(e) {}

TXMLNode::TXMLNode(const TXMLNode& o) : FElement(o.FElement) {
    if (FElement) FElement->AddRef();
}

TXMLNode& TXMLNode::operator=(const TXMLNode& o) {
    if (o.FElement) o.FElement->AddRef();
    if (FElement) FElement->Release();
    FElement = o.FElement;
    return *this;
}

TXMLNode::~TXMLNode() {
    if (FElement) FElement->Release();
}

std::string TXMLNode::NodeName() const { return ToAnsi(::NodeName(FElement)); }

std::string TXMLNode::Text() const {
    std::wstring text;
    ForEachChild(FElement, [&](IXMLDOMNode* child) {
        if (IsText(NodeType(child))) text += NodeValue(child);
    });
    return ToAnsi(text);
}

void TXMLNode::SetText(const std::string& text) {
    Check(FElement->put_text(TBStr(text).Get()), "Setting the text");
}

bool TXMLNode::HasAttribute(const std::string& name) const {
    TComPtr<IXMLDOMAttribute> attribute;
    return FElement->getAttributeNode(TBStr(name).Get(), attribute.Out()) == S_OK && attribute;
}

std::string TXMLNode::Attribute(const std::string& name) const {
    TVariant value;
    if (FElement->getAttribute(TBStr(name).Get(), &value) != S_OK || value.Get().vt != VT_BSTR) return {};
    return ToAnsi(std::wstring(value.Get().bstrVal, SysStringLen(value.Get().bstrVal)));
}

void TXMLNode::SetAttribute(const std::string& name, const std::string& value) {
    TVariant v;
    v.Get().vt = VT_BSTR;
    std::wstring w = ToWide(value);
    v.Get().bstrVal = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
    Check(FElement->setAttribute(TBStr(name).Get(), v.Get()), "Setting the attribute");
}

std::vector<std::string> TXMLNode::AttributeNames() const {
    std::vector<std::string> names;
    TComPtr<IXMLDOMNamedNodeMap> attributes;
    long count = 0;
    if (FAILED(FElement->get_attributes(attributes.Out())) || !attributes) return names;
    attributes->get_length(&count);
    for (long i = 0; i < count; ++i) {
        TComPtr<IXMLDOMNode> attribute;
        if (SUCCEEDED(attributes->get_item(i, attribute.Out())) && attribute)
            names.push_back(ToAnsi(::NodeName(attribute.Get())));
    }
    return names;
}

std::vector<TXMLNode> TXMLNode::ChildNodes() const {
    std::vector<TXMLNode> nodes;
    ForEachChild(FElement, [&](IXMLDOMNode* child) {
        if (NodeType(child) == NODE_ELEMENT) nodes.push_back(TXMLNode(AsElement(child).Detach()));
    });
    return nodes;
}

TXMLNode TXMLNode::FindNode(const std::string& name) const {
    const std::wstring wanted = ToWide(name);
    TXMLNode found;
    ForEachChild(FElement, [&](IXMLDOMNode* child) {
        if (!found && NodeType(child) == NODE_ELEMENT && ::NodeName(child) == wanted)
            found = TXMLNode(AsElement(child).Detach());
    });
    return found;
}

TXMLNode TXMLNode::AddChild(const std::string& name) {
    TComPtr<IXMLDOMDocument> doc;
    Check(FElement->get_ownerDocument(doc.Out()), "Finding the document");
    TComPtr<IXMLDOMElement> element;
    Check(doc->createElement(TBStr(name).Get(), element.Out()), "Creating an element");
    TComPtr<IXMLDOMNode> added;
    Check(FElement->appendChild(element.Get(), added.Out()), "Adding an element");
    return TXMLNode(element.Detach());
}

void TXMLNode::RemoveChild(const TXMLNode& child) {
    TComPtr<IXMLDOMNode> removed;
    Check(FElement->removeChild(child.FElement, removed.Out()), "Removing an element");
}

// TXMLDocument

struct TXMLDocument::TCom {
    TCoInitScope Init;
};

TXMLDocument::TXMLDocument() : FCom(std::make_unique<TCom>()) {
    HRESULT hr = CoCreateInstance(kDOMDocument60, nullptr, CLSCTX_INPROC_SERVER, kIXMLDOMDocument,
                                  reinterpret_cast<void**>(&FDoc));
    if (FAILED(hr))
        hr = CoCreateInstance(kDOMDocument30, nullptr, CLSCTX_INPROC_SERVER, kIXMLDOMDocument,
                              reinterpret_cast<void**>(&FDoc));
    if (FAILED(hr)) throw EXMLDocError(Format("MSXML is not available (0x%08lX)", static_cast<unsigned long>(hr)));
    FDoc->put_async(VARIANT_FALSE);
    FDoc->put_validateOnParse(VARIANT_FALSE);
    FDoc->put_resolveExternals(VARIANT_FALSE);
    FDoc->put_preserveWhiteSpace(VARIANT_TRUE);
}

TXMLDocument::~TXMLDocument() {
    if (FDoc) FDoc->Release();  // before COM is uninitialised
}

namespace {

[[noreturn]] void RaiseParseError(IXMLDOMDocument* doc) {
    TComPtr<IXMLDOMParseError> error;
    TBStr reason;
    long line = 0, column = 0;
    if (SUCCEEDED(doc->get_parseError(error.Out())) && error) {
        error->get_reason(reason.Out());
        error->get_line(&line);
        error->get_linepos(&column);
    }
    std::string text = Trim(reason.Ansi());
    if (text.empty()) text = "The document is not well-formed";
    if (line > 0) text += Format(" (line %ld, position %ld)", line, column);
    throw EXMLDocError(text);
}

}  // namespace

void TXMLDocument::LoadFromFile(const std::string& fileName) {
    std::string data = ReadFileToString(fileName);
    SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(data.size()));
    if (!bytes) throw EXMLDocError("Out of memory");
    void* target = nullptr;
    SafeArrayAccessData(bytes, &target);
    memcpy(target, data.data(), data.size());
    SafeArrayUnaccessData(bytes);
    TVariant source;
    source.Get().vt = VT_ARRAY | VT_UI1;
    source.Get().parray = bytes;
    VARIANT_BOOL ok = VARIANT_FALSE;
    if (FDoc->load(source.Get(), &ok) != S_OK || !ok) RaiseParseError(FDoc);
}

void TXMLDocument::LoadFromXML(const std::string& xml) {
    VARIANT_BOOL ok = VARIANT_FALSE;
    if (FDoc->loadXML(TBStr(xml).Get(), &ok) != S_OK || !ok) RaiseParseError(FDoc);
}

void TXMLDocument::SaveToFile(const std::string& fileName) const {
    // Written beside the target and moved over it once complete.
    const std::string temp = fileName + ".tmp";
    WriteStringToFile(temp, ToUtf8(WriteDocument(FDoc)));
    if (!ReplaceFileAtomically(temp, fileName)) {
        DWORD code = GetLastError();
        SysDeleteFile(temp);
        throw EFCreateError("Cannot create file " + fileName + ". " + SysErrorMessage(code));
    }
}

std::string TXMLDocument::XML() const { return ToAnsi(WriteDocument(FDoc)); }

TXMLNode TXMLDocument::DocumentElement() const {
    TComPtr<IXMLDOMElement> root;
    FDoc->get_documentElement(root.Out());
    return TXMLNode(root.Detach());
}

TXMLNode TXMLDocument::CreateDocumentElement(const std::string& name) {
    TComPtr<IXMLDOMElement> root;
    Check(FDoc->createElement(TBStr(name).Get(), root.Out()), "Creating an element");
    Check(FDoc->putref_documentElement(root.Get()), "Setting the document element");
    return TXMLNode(root.Detach());
}
