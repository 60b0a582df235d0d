// Serialisation of the XML document class: MSXML itself does not indent.
#include "classlib/base/SysUtils.h"
#include "classlib/base/XMLDom.h"

std::wstring NodeName(IXMLDOMNode* node) {
    TXMLString name;
    node->get_nodeName(name.Out());
    return name.Wide();
}

std::wstring NodeValue(IXMLDOMNode* node) {
    TXMLVariant value;
    if (FAILED(node->get_nodeValue(&value)) || value.Get().vt != VT_BSTR) return {};
    return std::wstring(value.Get().bstrVal, SysStringLen(value.Get().bstrVal));
}

DOMNodeType NodeType(IXMLDOMNode* node) {
    DOMNodeType type = NODE_INVALID;
    node->get_nodeType(&type);
    return type;
}

namespace {

bool IsBlank(const std::wstring& s) {
    return s.find_first_not_of(L" \t\r\n") == std::wstring::npos;
}

// XML 1.0 has no form, not even a reference, for the C0 controls other than tab and
// line ends, for U+FFFE and U+FFFF, nor for unpaired surrogates: they are written as
// U+FFFD, so every document written here reads back.
bool IsXmlChar(wchar_t c) {
    return (c >= 0x20 || c == L'\t' || c == L'\n' || c == L'\r') && c != 0xFFFE && c != 0xFFFF;
}

std::wstring XmlChars(const std::wstring& s) {
    return KeepUnits(s, IsXmlChar, 0xFFFD);
}

std::wstring Escape(const std::wstring& s, bool attribute) {
    std::wstring r;
    for (wchar_t c : XmlChars(s)) {
        switch (c) {
        case L'&': r += L"&amp;"; break;
        case L'<': r += L"&lt;"; break;
        case L'>': r += L"&gt;"; break;
        case L'\r': r += L"&#13;"; break; // parsers turn a raw CR LF into LF
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
    if (SUCCEEDED(node->get_attributes(attributes.Out())) && attributes)
        attributes->get_length(&count);
    for (long i = 0; i < count; ++i) {
        TComPtr<IXMLDOMNode> attribute;
        if (FAILED(attributes->get_item(i, attribute.Out())) || !attribute) continue;
        out += L" " + NodeName(attribute.Get()) + L"=\"" +
               Escape(NodeValue(attribute.Get()), true) + L"\"";
    }
    bool hasChildren = false, hasText = false, hasOther = false;
    ForEachChild(node, [&](IXMLDOMNode* child) {
        hasChildren = true;
        DOMNodeType type = NodeType(child);
        if (!IsText(type))
            hasOther = true;
        else if (type == NODE_CDATA_SECTION || !IsBlank(NodeValue(child)))
            hasText = true;
    });
    if (!hasChildren) {
        out += L"/>";
        return;
    }
    out += L">";
    const bool asIs = level < 0 || hasText || !hasOther;
    ForEachChild(node, [&](IXMLDOMNode* child) {
        if (asIs) return WriteNode(child, -1, out);
        if (NodeType(child) == NODE_TEXT) return; // indentation of the loaded document
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
    case NODE_CDATA_SECTION: out += L"<![CDATA[" + XmlChars(NodeValue(node)) + L"]]>"; break;
    case NODE_COMMENT: out += indent + L"<!--" + XmlChars(NodeValue(node)) + L"-->"; break;
    case NODE_PROCESSING_INSTRUCTION:
        out += indent + L"<?" + NodeName(node) + L" " + NodeValue(node) + L"?>";
        break;
    default: break;
    }
}

} // namespace

std::wstring WriteXMLDocument(IXMLDOMDocument* doc) {
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
