#pragma once
// The XML document class over MSXML (COM). Element and attribute order is kept;
// SaveToFile indents the document. Names and values are 8-bit strings here and
// pass to MSXML as wide strings. Not thread-safe: use from the thread that created it
// (COM must be initialised there; the document does it for its thread when needed).
#include <memory>
#include <string>
#include <vector>

struct IXMLDOMDocument;
struct IXMLDOMElement;
class TXMLDocument;

// A light reference to an element of a document; valid while the document lives.
class TXMLNode {
public:
    TXMLNode() = default;
    TXMLNode(const TXMLNode& o);
    TXMLNode& operator=(const TXMLNode& o);
    ~TXMLNode();
    explicit operator bool() const { return FElement != nullptr; }

    [[nodiscard]] std::string NodeName() const;
    [[nodiscard]] std::string Text() const;
    void SetText(const std::string& text);

    [[nodiscard]] bool HasAttribute(const std::string& name) const;
    [[nodiscard]] std::string Attribute(const std::string& name) const;  // "" when absent
    void SetAttribute(const std::string& name, const std::string& value);  // appended at the end
    [[nodiscard]] std::vector<std::string> AttributeNames() const;  // in document order

    // Child elements only (text and comments are skipped), in document order.
    [[nodiscard]] std::vector<TXMLNode> ChildNodes() const;
    [[nodiscard]] TXMLNode FindNode(const std::string& name) const;  // first child of that name
    TXMLNode AddChild(const std::string& name);
    void RemoveChild(const TXMLNode& child);

private:
    friend class TXMLDocument;
    explicit TXMLNode(IXMLDOMElement* e);  // takes a reference
    IXMLDOMElement* FElement = nullptr;
};

class TXMLDocument {
public:
    TXMLDocument();  // an empty document; EXMLDocError when MSXML is missing
    ~TXMLDocument();
    TXMLDocument(const TXMLDocument&) = delete;
    TXMLDocument& operator=(const TXMLDocument&) = delete;

    void LoadFromFile(const std::string& fileName);   // EXMLDocError with the parser's reason
    void LoadFromXML(const std::string& xml);
    void SaveToFile(const std::string& fileName) const;  // indented, "<?xml version=\"1.0\"?>"
    [[nodiscard]] std::string XML() const;              // the indented text

    [[nodiscard]] TXMLNode DocumentElement() const;
    TXMLNode CreateDocumentElement(const std::string& name);  // replaces any existing root

private:
    struct TCom;
    std::unique_ptr<TCom> FCom;
    IXMLDOMDocument* FDoc = nullptr;
};
