#include "classlib/base/XMLDoc.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Handle.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "classlib/base/XMLDom.h"
#include <cstring>

namespace {

// mingw's import libraries lack the MSXML class and interface ids.
const CLSID kDOMDocument60 = {
    0x88d96a05, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};
const CLSID kDOMDocument30 = {
    0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
const IID kIXMLDOMDocument = {
    0x2933bf81, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};
const IID kIXMLDOMElement = {
    0x2933bf86, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr))
        throw EXMLDocError(Format("%s failed (0x%08lX)", what, static_cast<unsigned long>(hr)));
}

TComPtr<IXMLDOMElement> AsElement(IXMLDOMNode* node) {
    TComPtr<IXMLDOMElement> element;
    if (node) node->QueryInterface(kIXMLDOMElement, element.OutVoid());
    return element;
}

} // namespace

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

// An empty node reads as an element without name, text, attributes or children;
// changing it raises.
IXMLDOMElement* TXMLNode::Element() const {
    if (!FElement) throw EXMLDocError("The XML node is empty");
    return FElement;
}

std::string TXMLNode::NodeName() const {
    return FElement ? ToUtf8(::NodeName(FElement)) : "";
}

std::string TXMLNode::Text() const {
    std::wstring text;
    if (!FElement) return {};
    ForEachChild(FElement, [&](IXMLDOMNode* child) {
        if (IsText(NodeType(child))) text += NodeValue(child);
    });
    return ToUtf8(text);
}

void TXMLNode::SetText(const std::string& text) {
    Check(Element()->put_text(TXMLString(text).Get()), "Setting the text");
}

bool TXMLNode::HasAttribute(const std::string& name) const {
    TComPtr<IXMLDOMAttribute> attribute;
    return FElement &&
           FElement->getAttributeNode(TXMLString(name).Get(), attribute.Out()) == S_OK && attribute;
}

std::string TXMLNode::Attribute(const std::string& name) const {
    TXMLVariant value;
    if (!FElement || FElement->getAttribute(TXMLString(name).Get(), &value) != S_OK ||
        value.Get().vt != VT_BSTR)
        return {};
    return ToUtf8(std::wstring(value.Get().bstrVal, SysStringLen(value.Get().bstrVal)));
}

void TXMLNode::SetAttribute(const std::string& name, const std::string& value) {
    TXMLVariant v;
    v.Get().vt = VT_BSTR;
    std::wstring w = ToWide(value);
    v.Get().bstrVal = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
    Check(Element()->setAttribute(TXMLString(name).Get(), v.Get()), "Setting the attribute");
}

std::vector<std::string> TXMLNode::AttributeNames() const {
    std::vector<std::string> names;
    TComPtr<IXMLDOMNamedNodeMap> attributes;
    long count = 0;
    if (!FElement || FAILED(FElement->get_attributes(attributes.Out())) || !attributes)
        return names;
    attributes->get_length(&count);
    for (long i = 0; i < count; ++i) {
        TComPtr<IXMLDOMNode> attribute;
        if (SUCCEEDED(attributes->get_item(i, attribute.Out())) && attribute)
            names.push_back(ToUtf8(::NodeName(attribute.Get())));
    }
    return names;
}

std::vector<TXMLNode> TXMLNode::ChildNodes() const {
    std::vector<TXMLNode> nodes;
    if (!FElement) return nodes;
    ForEachChild(FElement, [&](IXMLDOMNode* child) {
        if (NodeType(child) == NODE_ELEMENT) nodes.push_back(TXMLNode(AsElement(child).Detach()));
    });
    return nodes;
}

TXMLNode TXMLNode::FindNode(const std::string& name) const {
    const std::wstring wanted = ToWide(name);
    TXMLNode found;
    if (!FElement) return found;
    ForEachChild(FElement, [&](IXMLDOMNode* child) {
        if (!found && NodeType(child) == NODE_ELEMENT && ::NodeName(child) == wanted)
            found = TXMLNode(AsElement(child).Detach());
    });
    return found;
}

TXMLNode TXMLNode::AddChild(const std::string& name) {
    TComPtr<IXMLDOMDocument> doc;
    Check(Element()->get_ownerDocument(doc.Out()), "Finding the document");
    TComPtr<IXMLDOMElement> element;
    Check(doc->createElement(TXMLString(name).Get(), element.Out()), "Creating an element");
    TComPtr<IXMLDOMNode> added;
    Check(Element()->appendChild(element.Get(), added.Out()), "Adding an element");
    return TXMLNode(element.Detach());
}

void TXMLNode::RemoveChild(const TXMLNode& child) {
    TComPtr<IXMLDOMNode> removed;
    Check(Element()->removeChild(child.Element(), removed.Out()), "Removing an element");
}

// TXMLDocument

TXMLDocument::TXMLDocument() {
    // COM stays initialised until the thread ends, so nodes that outlive their
    // document can still release MSXML objects.
    static thread_local TCoInitScope comForThisThread;
    HRESULT hr = CoCreateInstance(kDOMDocument60, nullptr, CLSCTX_INPROC_SERVER, kIXMLDOMDocument,
                                  reinterpret_cast<void**>(&FDoc));
    if (FAILED(hr))
        hr = CoCreateInstance(kDOMDocument30, nullptr, CLSCTX_INPROC_SERVER, kIXMLDOMDocument,
                              reinterpret_cast<void**>(&FDoc));
    if (FAILED(hr))
        throw EXMLDocError(
            Format("MSXML is not available (0x%08lX)", static_cast<unsigned long>(hr)));
    FDoc->put_async(VARIANT_FALSE);
    FDoc->put_validateOnParse(VARIANT_FALSE);
    FDoc->put_resolveExternals(VARIANT_FALSE);
    FDoc->put_preserveWhiteSpace(VARIANT_TRUE);
}

TXMLDocument::~TXMLDocument() {
    if (FDoc) FDoc->Release();
}

namespace {

[[noreturn]] void RaiseParseError(IXMLDOMDocument* doc) {
    TComPtr<IXMLDOMParseError> error;
    TXMLString reason;
    long line = 0, column = 0;
    if (SUCCEEDED(doc->get_parseError(error.Out())) && error) {
        error->get_reason(reason.Out());
        error->get_line(&line);
        error->get_linepos(&column);
    }
    // Wine's parser gives only "error" as its reason.
    std::string text = "Invalid XML document: " + Trim(reason.Utf8());
    if (line > 0) text += Format(" (line %ld, position %ld)", line, column);
    throw EXMLDocError(text);
}

} // namespace

void TXMLDocument::LoadFromFile(const std::string& fileName) {
    std::string data = ReadFileToString(fileName);
    SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(data.size()));
    if (!bytes) throw EXMLDocError("Out of memory");
    void* target = nullptr;
    if (!data.empty() && SUCCEEDED(SafeArrayAccessData(bytes, &target))) {
        memcpy(target, data.data(), data.size());
        SafeArrayUnaccessData(bytes);
    }
    TXMLVariant source;
    source.Get().vt = VT_ARRAY | VT_UI1;
    source.Get().parray = bytes;
    VARIANT_BOOL ok = VARIANT_FALSE;
    if (FDoc->load(source.Get(), &ok) != S_OK || !ok) RaiseParseError(FDoc);
}

void TXMLDocument::LoadFromXML(const std::string& xml) {
    VARIANT_BOOL ok = VARIANT_FALSE;
    if (FDoc->loadXML(TXMLString(xml).Get(), &ok) != S_OK || !ok) RaiseParseError(FDoc);
}

void TXMLDocument::SaveToFile(const std::string& fileName) const {
    WriteStringToFileAtomically(fileName, ToUtf8(WriteXMLDocument(FDoc)));
}

std::string TXMLDocument::XML() const {
    return ToUtf8(WriteXMLDocument(FDoc));
}

TXMLNode TXMLDocument::DocumentElement() const {
    TComPtr<IXMLDOMElement> root;
    FDoc->get_documentElement(root.Out());
    return TXMLNode(root.Detach());
}

TXMLNode TXMLDocument::CreateDocumentElement(const std::string& name) {
    TComPtr<IXMLDOMElement> root;
    Check(FDoc->createElement(TXMLString(name).Get(), root.Out()), "Creating an element");
    Check(FDoc->putref_documentElement(root.Get()), "Setting the document element");
    return TXMLNode(root.Detach());
}
