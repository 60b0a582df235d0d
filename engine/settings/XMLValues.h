#pragma once
// Value forms of the XML settings files: Booleans are written "True" or "False" and
// read back from those texts in any letter case or from a number (0 false); the
// required parts of an element are read with an error when they are missing.
#include "classlib/base/XMLDoc.h"
#include <string>
#include <vector>

[[nodiscard]] std::string BoolToXML(bool value);
// EConvertError for any other text (an empty one too).
[[nodiscard]] bool XMLToBool(const std::string& text);

// EXMLDocError when the element has no such child or attribute; EConvertError when
// the attribute is not a decimal integer or a Boolean.
[[nodiscard]] TXMLNode RequiredChild(const TXMLNode& parent, const std::string& name);
[[nodiscard]] std::string RequiredAttribute(const TXMLNode& node, const std::string& name);
[[nodiscard]] int IntAttribute(const TXMLNode& node, const std::string& name);
[[nodiscard]] bool BoolAttribute(const TXMLNode& node, const std::string& name);

// A list of texts as <Item> children of the child `listName`, each text in `attribute`.
// Reading replaces `list` only where the element (which may be null) has that child.
void ReadItemList(const TXMLNode& element, const std::string& listName,
                  const std::string& attribute, std::vector<std::string>& list);
void WriteItemList(TXMLNode element, const std::string& listName, const std::string& attribute,
                   const std::vector<std::string>& list);
