#include "engine/wipe/Shredder.h"
#include "classlib/base/XMLDoc.h"
#include "engine/settings/XMLValues.h"
#include "engine/wipe/WipeMethodsManager.h"

namespace {

// Each list's element and the attribute that holds an item's path.
struct TListForm {
    const char* Element;
    const char* Attribute;
    TWipeKind Kind;
};
const TListForm FilesForm{"WipeFiles", "FileName", wkFile};
const TListForm FoldersForm{"WipeFolders", "Folder", wkFolder};
const TListForm DrivesForm{"WipeFreeSpace", "Drive", wkFreeSpace};

void SaveList(TXMLNode& shredder, const TListForm& form, const TWipeEngine& engine) {
    TXMLNode list = shredder.AddChild(form.Element);
    for (const auto& item : engine.Items())
        list.AddChild("Item").SetAttribute(form.Attribute, item->Path);
}

void LoadList(const TXMLNode& shredder, const TListForm& form, TWipeEngine& engine) {
    engine.Clear();
    const TXMLNode list = shredder.FindNode(form.Element);
    if (!list) return;
    for (const TXMLNode& child : list.ChildNodes()) {
        auto item = std::make_unique<TWipeItem>();
        item->Kind = form.Kind;
        item->Path = child.Attribute(form.Attribute);
        engine.AddItem(std::move(item));
    }
}

} // namespace

TShredder::TShredder() {
    if (!WipeMethodsManager) return;
    for (TWipeEngine* engine : Engines())
        engine->Method = WipeMethodsManager->GetEngineMethod(*engine);
}

void TShredder::SaveToXML(TXMLNode& parent) const {
    TXMLNode shredder = parent.AddChild("Shredder");
    SaveList(shredder, FilesForm, WipeFiles);
    SaveList(shredder, FoldersForm, WipeFolders);
    SaveList(shredder, DrivesForm, WipeFreeSpace);
    shredder.SetAttribute("CleanFreeSpaceEnabled", BoolToXML(CleanFreeSpaceEnabled));
}

void TShredder::LoadFromXML(const TXMLNode& parent) {
    const TXMLNode shredder = parent.FindNode("Shredder");
    if (!shredder) return;
    LoadList(shredder, FilesForm, WipeFiles);
    LoadList(shredder, FoldersForm, WipeFolders);
    LoadList(shredder, DrivesForm, WipeFreeSpace);
    if (shredder.HasAttribute("CleanFreeSpaceEnabled"))
        CleanFreeSpaceEnabled = XMLToBool(shredder.Attribute("CleanFreeSpaceEnabled"));
}
