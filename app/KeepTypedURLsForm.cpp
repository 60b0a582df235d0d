#include "app/KeepTypedURLsForm.h"
#include "classlib/base/Registry.h"

TfKeepTypedURLs* fKeepTypedURLs = nullptr;

namespace {

// The URL a typed-URL value holds; "" when its key cannot be opened or it is no string.
std::string ReadURL(const TEraserItem& item) {
    TRegistry registry;
    registry.RootKey = item.RootKey;
    if (!registry.OpenKeyReadOnly(item.Key)) return "";
    try {
        return registry.ReadString(item.ValueName);
    } catch (const ERegistryException&) {
        return "";
    }
}

} // namespace

TfKeepTypedURLs::TfKeepTypedURLs(TComponent* owner)
    : TKeepForm(owner, "lvURLs", "URL", "Select the URLs you want to keep:") {
    SetName("fKeepTypedURLs");
    SetCaption("Keep Typed URLs");
    lvURLs = List;
}

void TfKeepTypedURLs::AddRows() {
    for (TEraserItem& item : Eraser->Items) {
        TListItem* row = List->AddItem();
        row->Data = &item;
        row->SetChecked(IsKept(item.ValueName));
        row->SetCaption(ReadURL(item));
    }
}

std::string TfKeepTypedURLs::RowKey(const TListItem& row) const {
    return static_cast<const TEraserItem*>(row.Data)->ValueName;
}
