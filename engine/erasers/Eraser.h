#pragma once
// One cleaning item: it collects what it will erase (files, folders, registry keys
// and values) into Items, then erases them through its engine.
#include "classlib/base/XMLDoc.h"
#include "engine/erasers/EraserItem.h"
#include <functional>
#include <string>
#include <vector>

class TCustomEraserEngine;

class TEraser {
public:
    using TEraserEvent = std::function<void(TEraser* Sender)>;

    explicit TEraser(std::string name = "", std::string caption = "");
    virtual ~TEraser() = default;
    TEraser(const TEraser&) = delete;
    TEraser& operator=(const TEraser&) = delete;

    // Fills Items at the start of Erase; main thread. Without it Items stay as they
    // are, so items added once at construction are erased in every run.
    TEraserEvent OnCollect;
    std::string Name;    // element name and "Name" attribute in "prefs.dat"
    std::string Caption; // the item's name in the log
    bool Enabled = false;
    std::vector<TEraserItem> Items;        // erase order
    TCustomEraserEngine* Engine = nullptr; // set by TCustomEraserEngine::AddEraser
    // Fired at the end of the subclasses' Erase; main thread.
    TEraserEvent OnAfterErase;

    // Runs the collect; subclasses call it first and then erase Items.
    virtual void Erase();
    // Reads "Enabled" of the child element named Name; nothing when there is none.
    // EConvertError when the attribute is not a Boolean.
    virtual void LoadFromXML(const TXMLNode& Parent);
    // Appends the element Name with "Name" and "Enabled" and keeps it in FElement.
    virtual void SaveToXML(TXMLNode Parent);

protected:
    [[nodiscard]] TCustomEraserEngine& Owner() const; // Exception without an engine
    void DoAfterErase();
    TXMLNode FElement; // the element the last SaveToXML created
};
