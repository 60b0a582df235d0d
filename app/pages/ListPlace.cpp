#include "app/pages/ListPlace.h"

TListPlace::TListPlace(const TListView& list, TKey key)
    : FKey(std::move(key)), FTopIndex(list.TopIndex()) {
    if (const TListItem* selected = list.Selected()) {
        FHadSelection = true;
        FSelectedKey = FKey(*selected);
    }
}

bool TListPlace::Restore(TListView& list) const {
    list.SetTopIndex(FTopIndex);
    if (!FHadSelection) return false;
    for (int i = 0; i < list.Count(); ++i) {
        if (FKey(*list.Items(i)) != FSelectedKey) continue;
        list.Items(i)->SetSelected(true);
        return true;
    }
    return false;
}
