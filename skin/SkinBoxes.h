#pragma once
// Skinned boxes: panels, frames and forms only take the skin's face colour
// (TSkinBox); bare dialog windows inside a skinned window are filled with it and give
// their static text its brush (TSkinBoxH); group boxes are drawn as a rounded frame in
// the skin's shadow colour with the caption on the face colour (TSkinGroupBox); status
// bars get their panels' edges from the skin's "StatusBarEdges" element (frames 1
// lowered, 2 raised, 3 none), or 3D frames without it, and their owner-drawn panels from
// the bar's OnDrawPanel (TSkinStatusBar). Main thread.
#include "skin/SkinControl.h"

class TSkinBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) override;
};

class TSkinBoxH : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    bool BeforeMessage(TMessage& message) override;
};

// Flag 1: a control of the class library, painted whole; 0: a bare group-box window,
// whose native frame is covered.
class TSkinGroupBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) override;

protected:
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    void DrawFrame(HDC dc, int w, int h, int y);
};

class TStatusBar;

class TSkinStatusBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    void DrawPanels(HDC buffer, const RECT& all, const TStatusBar& bar);
    void DrawEdge(HDC buffer, const RECT& rect, int frame) const;
    void DrawSizeGrip(HDC buffer, const RECT& all) const;
    void CallDrawPanel(HDC dc, TStatusBar& bar);
};
