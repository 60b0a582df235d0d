#pragma once
// The layout of a tool page that is a list with a row of flat buttons below it.
#include "app/pages/PageFrame.h"
#include "classlib/gui/Controls.h"
#include "classlib/gui/PlaceControl.h"
#include "classlib/gui/SpeedButton.h"

class TListButtonsLayout {
public:
    explicit TListButtonsLayout(TPageFrame* page) : FPage(page) {}

    [[nodiscard]] TListView* PlaceList() const {
        auto list = Place<TListView>(FPage, FPage, "lvItems", "", List);
        list->SetRowSelect(true);
        return list;
    }

    // The next flat button of the row, from left to right.
    TSpeedButton* PlaceButton(const char* name, const char* caption, TNotifyEvent onClick) {
        auto button = Place<TSpeedButton>(FPage, FPage, name, caption, Buttons.Cell(FColumn++, 0));
        button->SetFlat(true);
        button->OnClick = std::move(onClick);
        return button;
    }

private:
    static constexpr TBounds List{Layout::Margin, Layout::Margin, PageContentWidth, 420};
    static constexpr TGrid Buttons = Across(Layout::Margin, List.Bottom() + Layout::Margin, 90,
                                            Layout::ButtonHeight, Layout::ButtonGap);
    TPageFrame* FPage;
    int FColumn = 0;
};
