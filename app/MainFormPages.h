#pragma once
// The main window's page table: one row per sheet, in page order, first the sheets
// of pagMain, then the tool sheets of pagMisc. The window lays out, fills and
// navigates its pages from it; a new page is one row.
#include "app/pages/PageFrame.h"
#include <span>

// The page control a sheet belongs to.
enum class TPageHost { Main, Misc };

// The sets of tool tabs that "User settings", "PC Manager" and "Run Options" show
// in "Misc"; a tool sheet's row says in which sets its tab shows and in which it
// hides (in the others it keeps its state).
enum TToolTabs : unsigned {
    ttNone = 0,
    ttUserSettings = 1,
    ttPCManager = 2,
    ttRunOptions = 4,
};

// The button on the left that shows a sheet: its name, its caption, its place from the
// top, and the set of tool tabs it shows.
struct TNavButton {
    const char* Name = nullptr; // none: no button on the left shows the sheet
    const char* Caption = nullptr;
    int Slot = 0;
    TToolTabs Tabs = ttNone;
};

struct TPageRow {
    const char* Sheet; // the sheet's component name
    const char* Caption;
    TPageHost Host;
    // Makes the sheet's page; none for the pagMain sheet that holds pagMisc.
    TPageFrame* (*Make)(TComponent* owner) = nullptr;
    // Made and placed with the window; else when its sheet first shows.
    bool MadeAtStart = false;
    // Runs each time the sheet becomes the active one, after the page is placed.
    void (*Shown)(TPageFrame& page) = nullptr;
    // Tool sheets: whether the tab shows at creation, and the tool tab sets.
    bool TabAtStart = true;
    unsigned ShownIn = ttNone, HiddenIn = ttNone;
    TNavButton Nav{};
};

[[nodiscard]] std::span<const TPageRow> PageTable();
