#pragma once
// A list's selected row and scroll position, kept across a refill: the row is found
// again by a key the page gives (its file, its entry), not by its index.
#include "classlib/gui/ListView.h"
#include <functional>
#include <string>

class TListPlace {
public:
    using TKey = std::function<std::string(const TListItem& row)>;

    TListPlace(const TListView& list, TKey key);
    // Selects the row with the remembered key and scrolls back; false when the list
    // had no selection or no row has that key any more.
    bool Restore(TListView& list) const;

private:
    TKey FKey;
    bool FHadSelection = false;
    std::string FSelectedKey;
    int FTopIndex = 0;
};
