#include "app/KeepTypedURLsForm.h"
#include "classlib/base/Registry.h"

TfKeepTypedURLs* fKeepTypedURLs = nullptr;

namespace {

// The URL a typed-URL value holds; "" when its key cannot be opened or it is no string.
std::string ReadURL(const TEraserItem& item) {
    TRegistry registry;
    registry.RootKey = item.RootKey;
    std::string url;
    if (!registry.OpenKeyReadOnly(item.Key) || !registry.TryReadString(item.ValueName, url))
        return "";
    return url;
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
        const std::string url = ReadURL(item);
        row->SetChecked(!url.empty() && IsKept(url));
        row->SetCaption(url);
    }
}

std::string TfKeepTypedURLs::RowKey(const TListItem& row) const {
    return row.Caption();
}
