#pragma once
// The program's own small XML reader and writer (used for "Backup.xml"). A document
// is a tree of elements held in memory; the document object is also the root element.
// It reads the subset it writes: one optional declaration, elements with attributes,
// element text or one CDATA section, and a comment before a tag. Parse errors are
// reported through LastError(), not thrown (except in the declaration).
#include "classlib/base/Exceptions.h"
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TkepXMLParser2;

// Raised for errors in the declaration's attribute list.
class EkepXMLError : public Exception {
    using Exception::Exception;
};

struct TkepXMLAttribute2 {
    std::string Name;
    std::string Value;
};

// A list that owns its items; removing or clearing frees them.
template <class T> class TkepXMLNodeList2 {
public:
    [[nodiscard]] int Count() const { return static_cast<int>(FItems.size()); }
    [[nodiscard]] T* operator[](int i) const { return FItems[static_cast<size_t>(i)].get(); }
    T* Add(std::unique_ptr<T> item) { return FItems.emplace_back(std::move(item)).get(); }
    void Remove(const T* item) {
        for (auto it = FItems.begin(); it != FItems.end(); ++it)
            if (it->get() == item) {
                FItems.erase(it);
                return;
            }
    }
    void Clear() { FItems.clear(); }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    std::vector<std::unique_ptr<T>> FItems;
};

class TkepXMLNode2 {
public:
    TkepXMLNode2() = default;
    virtual ~TkepXMLNode2() = default;
    TkepXMLNode2(const TkepXMLNode2&) = delete;
    TkepXMLNode2& operator=(const TkepXMLNode2&) = delete;

    [[nodiscard]] const std::string& Name() const { return FName; }
    // Also sets NameSpace to the part before the first ":" when there is one.
    void SetName(std::string name);
    [[nodiscard]] const std::string& NameSpace() const { return FNameSpace; }
    [[nodiscard]] const std::string& Text() const { return FText; }
    void SetText(std::string text) { FText = std::move(text); }

    [[nodiscard]] TkepXMLParser2* Document() const { return FDocument; }
    [[nodiscard]] TkepXMLNode2* ParentNode() const { return FParentNode; }
    [[nodiscard]] const TkepXMLNodeList2<TkepXMLNode2>& Nodes() const { return FNodes; }
    [[nodiscard]] const TkepXMLNodeList2<TkepXMLAttribute2>& Attributes() const {
        return FAttributes;
    }

    // Takes ownership of the child and returns it.
    TkepXMLNode2* AddNode(std::unique_ptr<TkepXMLNode2> child);
    // Frees one of this element's children with its subtree.
    void DeleteNode(TkepXMLNode2* child) { FNodes.Remove(child); }
    [[nodiscard]] TkepXMLNode2* GetNode(int index) const; // nullptr when out of range
    [[nodiscard]] int NodeCount() const { return FNodes.Count(); }

    // Appends; an attribute of the same name is neither replaced nor checked.
    void AddAttribute(std::string name, std::string value);
    // By position, or the first of that name (case-sensitive); "" when there is none.
    [[nodiscard]] std::string GetAttribute(int index) const;
    [[nodiscard]] std::string GetAttribute(const std::string& name) const;
    [[nodiscard]] std::string GetAttribute(const char* name) const {
        return GetAttribute(std::string(name));
    }
    [[nodiscard]] int IndexOfAttribute(const std::string& name) const; // -1 when absent

protected:
    void ClearTree();

private:
    std::string FName;
    std::string FNameSpace;
    std::string FText;
    TkepXMLParser2* FDocument = nullptr; // not owned
    TkepXMLNode2* FParentNode = nullptr; // not owned
    TkepXMLNodeList2<TkepXMLNode2> FNodes;
    TkepXMLNodeList2<TkepXMLAttribute2> FAttributes;
};

// The text of an XML file in UTF-8, decoded as its declaration says (see LoadFromFile).
// Raises the stream error when the file cannot be read.
std::string ReadXMLFile(const std::string& fileName);

class TkepXMLParser2 : public TkepXMLNode2 {
public:
    TkepXMLParser2() = default;

    // Replaces the tree with the parsed text; LastError() is "" on success.
    void SetXML(std::string xml);
    // Strings are UTF-8; files are read and written in the encoding they declare
    // (ISO-8859-1 by default, other characters as references such as "&#25991;").
    // Raises the stream error when the file cannot be read (LastError() unchanged).
    void LoadFromFile(const std::string& fileName);
    [[nodiscard]] std::string GetXML() const;
    // Through a temporary file beside it: a failed write leaves the previous file.
    void SaveToFile(const std::string& fileName) const;
    [[nodiscard]] const std::string& LastError() const { return FLastError; }
    // Deeper elements are refused with an error.
    static constexpr int MaxDepth = 256;
    // Holds the declaration's pseudo-attributes ("version", "encoding").
    [[nodiscard]] TkepXMLNode2& Declaration() { return FDeclaration; }

private:
    void Parse();
    void ParseDeclaration();
    bool ParseElement(TkepXMLNode2* parent, int depth);
    void ParseEndTag(const TkepXMLNode2& element);
    void ParseText(TkepXMLNode2& element);
    [[nodiscard]] int FindFromPos(const char* what) const;
    [[noreturn]] void Fail(const std::string& message) const;
    [[nodiscard]] std::string ErrorReport(const std::string& message) const;

    std::string FXML;
    int FPos = 1; // 1-based into FXML
    std::string FLastError;
    TkepXMLNode2 FDeclaration;
};

// Escapes "&", "<", ">", "'" and the double quote for attribute values and text.
[[nodiscard]] std::string XMLEscape(const std::string& s);
// Replaces character references ("&#233;", "&#x1F600;") and the five predefined
// ones, each once ("&amp;" last).
[[nodiscard]] std::string XMLUnescape(std::string_view s);
