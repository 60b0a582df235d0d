#include "engine/settings/XMLValues.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"

std::string BoolToXML(bool value) {
    return value ? "True" : "False";
}

bool XMLToBool(const std::string& text) {
    if (SameText(text, "True")) return true;
    if (SameText(text, "False")) return false;
    int number = 0;
    if (TryStrToInt(text, number)) return number != 0;
    throw EConvertError("'" + text + "' is not a valid boolean value");
}

TXMLNode RequiredChild(const TXMLNode& parent, const std::string& name) {
    TXMLNode child = parent.FindNode(name);
    if (!child) throw EXMLDocError("the element \"" + name + "\" is missing");
    return child;
}

std::string RequiredAttribute(const TXMLNode& node, const std::string& name) {
    if (!node.HasAttribute(name)) throw EXMLDocError("the attribute \"" + name + "\" is missing");
    return node.Attribute(name);
}

int IntAttribute(const TXMLNode& node, const std::string& name) {
    return StrToInt(RequiredAttribute(node, name));
}

bool BoolAttribute(const TXMLNode& node, const std::string& name) {
    return XMLToBool(RequiredAttribute(node, name));
}

void ReadItemList(const TXMLNode& element, const std::string& listName,
                  const std::string& attribute, std::vector<std::string>& list) {
    const TXMLNode items = element ? element.FindNode(listName) : TXMLNode();
    if (!items) return;
    list.clear();
    for (const TXMLNode& item : items.ChildNodes())
        list.push_back(item.Attribute(attribute));
}

void WriteItemList(TXMLNode element, const std::string& listName, const std::string& attribute,
                   const std::vector<std::string>& list) {
    TXMLNode items = element.AddChild(listName);
    for (const std::string& text : list)
        items.AddChild("Item").SetAttribute(attribute, text);
}
