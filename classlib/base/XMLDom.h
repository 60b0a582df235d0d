#pragma once
// Helpers of the XML document class over MSXML; not for use outside it.
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include <msxml2.h>
#include <string>

// Owner of one BSTR.
class TXMLString {
public:
    TXMLString() = default;
    explicit TXMLString(const std::string& s) {
        std::wstring w = ToWide(s);
        FStr = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
    }
    ~TXMLString() { SysFreeString(FStr); }
    TXMLString(const TXMLString&) = delete;
    TXMLString& operator=(const TXMLString&) = delete;
    [[nodiscard]] BSTR Get() const { return FStr; }
    BSTR* Out() {
        SysFreeString(FStr);
        FStr = nullptr;
        return &FStr;
    }
    [[nodiscard]] std::wstring Wide() const {
        return FStr ? std::wstring(FStr, SysStringLen(FStr)) : std::wstring();
    }
    [[nodiscard]] std::string Utf8() const { return ToUtf8(Wide()); }

private:
    BSTR FStr = nullptr;
};

// Owner of one VARIANT.
class TXMLVariant {
public:
    TXMLVariant() { VariantInit(&FValue); }
    ~TXMLVariant() { VariantClear(&FValue); }
    TXMLVariant(const TXMLVariant&) = delete;
    TXMLVariant& operator=(const TXMLVariant&) = delete;
    VARIANT* operator&() { return &FValue; }
    VARIANT& Get() { return FValue; }

private:
    VARIANT FValue;
};

std::wstring NodeName(IXMLDOMNode* node);
std::wstring NodeValue(IXMLDOMNode* node); // "" when the node has no text value
DOMNodeType NodeType(IXMLDOMNode* node);

// Calls f for each child node in document order.
template <class F> inline void ForEachChild(IXMLDOMNode* parent, F f) {
    TComPtr<IXMLDOMNode> child;
    parent->get_firstChild(child.Out());
    while (child) {
        f(child.Get());
        TComPtr<IXMLDOMNode> next;
        child->get_nextSibling(next.Out());
        child = std::move(next);
    }
}

inline bool IsText(DOMNodeType type) {
    return type == NODE_TEXT || type == NODE_CDATA_SECTION;
}

// The document as indented text: two blanks per level, CR LF line ends.
std::wstring WriteXMLDocument(IXMLDOMDocument* doc);
