#include "app/KeepCookiesForm.h"
#include "classlib/base/SysUtils.h"

TfKeepCookie* fKeepCookie = nullptr;

TfKeepCookie::TfKeepCookie(TComponent* owner)
    : TKeepForm(owner, "lvCookies", "Cookie", "Select the cookies you want to keep:") {
    SetName("fKeepCookie");
    SetCaption("Keep Cookies");
    lvCookies = List;
}

// Only "*.txt" files, and of those the ones the filter (a file mask) matches; a broken
// mask matches nothing.
bool TfKeepCookie::Listed(const std::string& name, const std::string& filter) const {
    try {
        if (!TEraseFiles::MatchMask("*.txt", name)) return false;
        return filter.empty() || TEraseFiles::MatchMask(filter, name);
    } catch (const EMaskException&) {
        return false;
    }
}

void TfKeepCookie::AddRows() {
    std::string filter = Trim(edFilter->Text());
    for (const TEraserItem& item : Eraser->Items) {
        std::string name = ExtractFileName(item.Path);
        if (!Listed(name, filter)) continue;
        TListItem* row = List->AddItem();
        row->SetChecked(IsKept(name));
        row->SetCaption(name);
    }
}
