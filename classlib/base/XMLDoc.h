#pragma once
// The XML document class over MSXML (COM). Element and attribute order is kept;
// SaveToFile indents the document. Names and values are 8-bit strings here and
// pass to MSXML as wide strings. Not thread-safe: use from the thread that created it
// (the document initialises COM for that thread when needed and leaves it initialised).
#include <memory>
#include <string>
#include <vector>

struct IXMLDOMDocument;
struct IXMLDOMElement;
class TXMLDocument;

// A light reference to an element of a document; valid while the document lives.
// An empty node (a FindNode that found nothing) reads as empty; changing it raises
// EXMLDocError.
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
    [[nodiscard]] std::string Attribute(const std::string& name) const;   // "" when absent
    void SetAttribute(const std::string& name, const std::string& value); // new ones go last
    [[nodiscard]] std::vector<std::string> AttributeNames() const;        // in document order

    // Child elements only (text and comments are skipped), in document order.
    [[nodiscard]] std::vector<TXMLNode> ChildNodes() const;
    [[nodiscard]] TXMLNode FindNode(const std::string& name) const; // first child of that name
    TXMLNode AddChild(const std::string& name);
    void RemoveChild(const TXMLNode& child);

private:
    friend class TXMLDocument;
    explicit TXMLNode(IXMLDOMElement* e);          // takes over the caller's reference
    [[nodiscard]] IXMLDOMElement* Element() const; // EXMLDocError when empty
    IXMLDOMElement* FElement = nullptr;
};

class TXMLDocument {
public:
    TXMLDocument(); // an empty document; EXMLDocError when MSXML is missing
    ~TXMLDocument();
    TXMLDocument(const TXMLDocument&) = delete;
    TXMLDocument& operator=(const TXMLDocument&) = delete;

    // EXMLDocError with the parser's reason; EFOpenError when the file cannot be read.
    void LoadFromFile(const std::string& fileName);
    void LoadFromXML(const std::string& xml);
    // Indented by two blanks per level, CR LF line ends, "<?xml version=\"1.0\"?>", UTF-8.
    // Written to fileName + ".tmp" and moved over the file once complete (EFCreateError).
    void SaveToFile(const std::string& fileName) const;
    [[nodiscard]] std::string XML() const; // the same indented text, in the process code page

    [[nodiscard]] TXMLNode DocumentElement() const;
    TXMLNode CreateDocumentElement(const std::string& name); // replaces any existing root

private:
    IXMLDOMDocument* FDoc = nullptr;
};
