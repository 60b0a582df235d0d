#pragma once
// TSkinListView: a list view's scroll bars skinned as any scrolling control's, and its
// column header (a bare child window) skinned by a TSkinHeader owned by the list view.
// TSkinHeader paints every header item from frame 1 of the skin's "Headerbar" element
// with the item's image and text. Main thread.
#include "skin/SkinScrollBar.h"

class TSkinListView : public TSkinScrollbar {
public:
    using TSkinScrollbar::TSkinScrollbar;
    void InitScroll(TWinControl* control, TSkinData* data, TSkinForm* form) override;
};

class TSkinHeader : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    [[nodiscard]] TDataSkinObject* Element() const;
    void DrawItem(HDC dc, int index, const RECT& item, TDataSkinObject& element);
};
