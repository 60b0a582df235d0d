#include "skin/SkinBoxes.h"
#include "classlib/gui/StatusBar.h"
#include "classlib/gui/WinControl.h"
#include "skin/SkinData.h"
#include <commctrl.h>

namespace {

// A one-pixel 3D frame: top and left in one colour, bottom and right in the other.
void Frame3D(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    auto line = [dc](int x, int y, int w, int h, COLORREF colour) {
        TBrushHandle brush(CreateSolidBrush(colour));
        const RECT l{x, y, x + w, y + h};
        FillRect(dc, &l, brush.Get());
    };
    const int w = r.right - r.left, h = r.bottom - r.top;
    line(r.left, r.top, w - 1, 1, topLeft);
    line(r.left, r.top, 1, h - 1, topLeft);
    line(r.right - 1, r.top, 1, h, bottomRight);
    line(r.left, r.bottom - 1, w, 1, bottomRight);
}

} // namespace

void TSkinBox::InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) {
    AttachControl(form, data, useSkinColour, false);
}

bool TSkinBoxH::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetWindowRect(Handle(), &r);
        OffsetRect(&r, -r.left, -r.top);
        FillSkinColour(reinterpret_cast<HDC>(message.WParam), r);
        message.Result = 1; // erased
        return false;
    }
    case WM_CTLCOLORSTATIC:
        CallPrevious(message);
        // The text goes on the skin's colour, not on the native one.
        SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
        message.Result = reinterpret_cast<LRESULT>(SkinData()->ButtonFaceBrush());
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinGroupBox::InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) {
    TSkinControl::InitControl(form, data, useSkinColour);
    if (Control()) FFlag = 1;
}

bool TSkinGroupBox::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    if (FFlag != 1) return true;
    switch (message.Msg) {
    case WM_PAINT: WmPaint(message); return false;
    case WM_ERASEBKGND: WmEraseBkgnd(message); return false;
    }
    return true;
}

void TSkinGroupBox::Draw(HDC dc, const RECT& rect) {
    if (IsRectEmpty(&rect)) return;
    FCaption = WindowText();
    if (FCaption.empty() && Control()) FCaption = Control()->Caption();
    HFONT font = Control() ? Control()->Font().Handle() : WindowFont(Handle());
    {
        TSelectScope useFont(dc, font);
        TSavedDC state(dc);
        SIZE zero{};
        GetTextExtentPoint32W(dc, L"0", 1, &zero);
        const int y = zero.cy / 2 - 1;
        if (FFlag == 1) {
            // The whole box composed off-screen: face, frame, caption; then its graphic children.
            FOffscreen.Paint(dc, rect, [&](HDC buffer, const RECT& area) {
                FillSkinColour(buffer, area);
                TSelectScope useFont(buffer, font);
                DrawFrame(buffer, area.right, area.bottom, y);
            });
        } else {
            RECT r{0, y, rect.right - rect.left, rect.bottom - rect.top};
            for (int i = 0; i < 2; ++i, InflateRect(&r, -1, -1))
                FrameRect(dc, &r, SkinData()->ButtonFaceBrush());
            DrawFrame(dc, rect.right - rect.left, rect.bottom - rect.top, y);
        }
    }
    if (Control()) Control()->PaintControls(dc);
}

// The rounded frame from y down, and the caption on the face colour over its top edge.
void TSkinGroupBox::DrawFrame(HDC dc, int w, int h, int y) {
    const TSkinColours& colours = SkinData()->Colours();
    TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(colours.ButtonShadow)));
    {
        TSelectScope usePen(dc, pen.Get()), useBrush(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, 1, y, w - 1, h - 1, 5, 5);
    }
    if (FCaption.empty()) return;
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(colours.ButtonFace));
    SetTextColor(dc, ColorToRGB(Control() ? Control()->Font().Color() : colours.ButtonText));
    RECT text{8, 0, w, h};
    SkinDrawText(dc, FCaption, text, DT_EXPANDTABS | DT_SINGLELINE);
}

bool TSkinStatusBar::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT: WmPaint(message); return false;
    case WM_ERASEBKGND: message.Result = 1; return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinStatusBar::Draw(HDC dc, const RECT& rect) {
    auto bar = dynamic_cast<TStatusBar*>(Control());
    if (!bar) return;
    FOffscreen.Paint(dc, rect, [&](HDC buffer, const RECT& all) {
        FillSkinColour(buffer, all);
        TSelectScope font(buffer, bar->Font().Handle());
        const TDataSkinObject* edges = SkinData()->Elements().StatusBarEdges.get();
        SetTextColor(buffer, ColorToRGB(edges ? edges->NormalColour2 : bar->Font().Color()));
        DrawPanels(buffer, all, *bar);
        if (Style() & SBARS_SIZEGRIP) DrawSizeGrip(buffer, all);
    });
    bar->PaintControls(dc);
    if (bar->OnDrawPanel && !bar->SimplePanel()) CallDrawPanel(dc, *bar);
}

// The bar's handler is called for every panel, inside its skinned edge: it paints the
// panels it draws itself (owner-drawn ones, as the plain bar asks for).
void TSkinStatusBar::CallDrawPanel(HDC dc, TStatusBar& bar) {
    for (int i = 0; i < bar.PanelCount(); ++i) {
        RECT r;
        if (!SendMessageW(Handle(), SB_GETRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
        InflateRect(&r, -2, -2);
        bar.OnDrawPanel(&bar, i, dc, r);
    }
}

void TSkinStatusBar::DrawPanels(HDC buffer, const RECT& all, const TStatusBar& bar) {
    if (bar.SimplePanel() || bar.PanelCount() == 0) {
        DrawEdge(buffer, all, 1);
        RECT text = all;
        InflateRect(&text, -2, 0);
        const UINT align = bar.BiDiMode() == bdRightToLeft ? DT_RIGHT : DT_LEFT;
        DrawCaption(buffer, text, align, true, bar.SimpleText().empty() ? " " : bar.SimpleText());
        return;
    }
    for (int i = 0; i < bar.PanelCount(); ++i) {
        const TStatusPanel& panel = bar.Panel(i);
        TAlignment alignment = panel.Alignment;
        if (panel.BiDiMode == bdRightToLeft && alignment != taCenter)
            alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
        RECT r;
        if (!SendMessageW(Handle(), SB_GETRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
        r.right += 2;
        if (i == bar.PanelCount() - 1) r.right = all.right;
        DrawEdge(buffer, r, panel.Bevel == pbLowered ? 1 : panel.Bevel == pbRaised ? 2 : 3);
        if (panel.Style != psText) continue;
        InflateRect(&r, -2, 0);
        const UINT flags = alignment == taRightJustify ? DT_RIGHT
                           : alignment == taCenter     ? DT_CENTER
                                                       : DT_LEFT;
        DrawCaption(buffer, r, flags, true, panel.Text.empty() ? " " : panel.Text);
    }
}

void TSkinStatusBar::DrawEdge(HDC buffer, const RECT& rect, int frame) const {
    TDataSkinObject* e = SkinData()->Elements().StatusBarEdges.get();
    if (e && !e->Bitmap.Empty()) {
        auto edge = MakeSkinBitmap(rect.right - rect.left, rect.bottom - rect.top, e->Bitmap,
                                   e->Margins(), false, e->Tile != 1, e->FrameCount, frame);
        BitBlt(buffer, rect.left, rect.top, edge->Width(), edge->Height(), edge->Canvas().Handle(),
               0, 0, SRCCOPY);
        return;
    }
    if (frame == 3) return;
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    Frame3D(buffer, rect, frame == 1 ? shadow : light, frame == 1 ? light : shadow);
}

// The grip ends one pixel inside the bottom-right corner.
void TSkinStatusBar::DrawSizeGrip(HDC buffer, const RECT& all) const {
    TDataSkinObject* e = SkinData()->Elements().ExtraImages.get();
    if (!e || e->Bitmap.Empty() || e->FrameCount < 5) return;
    const int w = e->FrameWidth(), h = e->Bitmap.Height();
    const RECT grip{all.right - 1 - w, all.bottom - 1 - h, all.right - 1, all.bottom - 1};
    DrawSkinFrame(buffer, grip, e->Bitmap, true, e->FrameCount, 5);
}
