#pragma once
// TSkinTab paints a tab control's (or page control's) tabs from the skin's "Tabs"
// element (frame 1 a tab, frame 2 the selected one) and the page border from its
// "Border" picture, in any of the four tab positions; its scroll arrows get a
// TSkinUpDown. TSkinTabSheet paints a sheet's background in the skin's face colour.
// Main thread.
#include "classlib/gui/Bitmap.h"
#include "skin/SkinControl.h"

class TSkinTab : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

    void InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) override;
    void InitHandle(HWND wnd, TSkinData* data, TSkinForm* form) override;
    void Refresh() override;

protected:
    void Draw(HDC dc, const RECT& rect) override;

private:
    void PrepareBitmaps();
    // The scroll-arrow window when it shows, skinned on first sight; else nullptr.
    HWND FindUpDown();
    [[nodiscard]] RECT DisplayRect(const RECT& rect) const;
    [[nodiscard]] RECT StripItemRect(RECT item, const RECT& strip, const RECT& rect) const;
    void DrawStrip(HDC dc, const RECT& strip, const RECT& rect);
    // The tabs into the strip's picture b, the selected one last.
    void DrawTabs(HDC b, const RECT& strip, const RECT& rect);
    void DrawTab(HDC dc, int index, const RECT& item, bool selected);
    void DrawBorder(HDC dc, const RECT& display);

    TTabPosition FTabPosition = tpTop;
    TBitmap FTabBitmap, FBorderBitmap; // turned for the tab position
};

class TSkinTab31 : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    // Subclasses the tab set's window, not its WindowProc.
    void InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) override;
    void Refresh() override;

protected:
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    void PrepareBitmap();

    TBitmap FTabBitmap;
};

class TSkinTabSheet : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
};
