#include "engine/erasers/Eraser.h"
#include "classlib/base/Exceptions.h"
#include "engine/settings/XMLValues.h"

TEraser::TEraser(std::string name, std::string caption)
    : Name(std::move(name)), Caption(std::move(caption)) {}

void TEraser::Erase() {
    if (!OnCollect) return;
    Items.clear();
    OnCollect(this);
}

void TEraser::LoadFromXML(const TXMLNode& Parent) {
    const TXMLNode element = Parent.FindNode(Name);
    if (element) Enabled = XMLToBool(element.Attribute("Enabled"));
}

void TEraser::SaveToXML(TXMLNode Parent) {
    FElement = Parent.AddChild(Name);
    FElement.SetAttribute("Name", Name);
    FElement.SetAttribute("Enabled", BoolToXML(Enabled));
}

TCustomEraserEngine& TEraser::Owner() const {
    if (!Engine) throw Exception("The eraser " + Name + " has no engine");
    return *Engine;
}

void TEraser::DoAfterErase() {
    if (OnAfterErase) OnAfterErase(this);
}
