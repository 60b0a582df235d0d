#pragma once
// TSkinScrollbar: skins the window scroll bars of a scrolling control (memo, list box,
// list view) or of a bare window, through one TWScrollbar overlay per bar. The overlays
// follow the host's bars on every paint, size, move and scroll, hide with the host, and
// go when the host's window is destroyed or the control is unskinned.
// TSkinSizer: a size grip or size box filled with the skin's face colour. Main thread.
#include "skin/SkinControl.h"
#include "skin/SkinScrollOverlay.h"
#include <memory>

class TSkinScrollbar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void InitScroll(TWinControl* control, TSkinData* data, TSkinForm* form) override;
    void InitHandle(HWND wnd, TSkinData* data, TSkinForm* form) override;
    void Restore() override;
    [[nodiscard]] TWScrollbar* HorzBar() const { return FHorzBar.get(); }
    [[nodiscard]] TWScrollbar* VertBar() const { return FVertBar.get(); }

protected:
    void UpdateBars();
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    void MakeBars();
    void HideBars();
    void FillCorner(HDC dc);

    std::unique_ptr<TWScrollbar> FHorzBar, FVertBar;
    bool FDrawBorder = false;
    bool FRecreating = false; // the control's window is made again: the wrapper stays
};

// The window scroll bars of a bare window that is no control of the skinned window's
// own, such as a simple combo box's list: its vertical bar hides with the window.
class TSkinScrollbarH : public TSkinScrollbar {
public:
    using TSkinScrollbar::TSkinScrollbar;

protected:
    void AfterMessage(TMessage& message) override;
};

class TSkinSizer : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    void Draw(HDC dc, const RECT& rect) override { FillSkinColour(dc, rect); }
};
