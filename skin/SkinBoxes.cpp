#include "skin/SkinBoxes.h"
#include "classlib/gui/WinControl.h"
#include "skin/SkinData.h"

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
