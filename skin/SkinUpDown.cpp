#include "skin/SkinUpDown.h"
#include "classlib/gui/WindowText.h"
#include "skin/SkinData.h"
#include "skin/SkinReader.h"
#include <commctrl.h>

namespace {

enum TArrow { arUp, arDown, arLeft, arRight };

// The plain arrows drawn when the skin has no up-down picture: line segments (x1, y1,
// x2, y2) from the anchor.
constexpr int UpArrow[7][4] = {{0, 0, 0, -1},  {1, 1, 4, 4},  {0, 1, 3, 4}, {0, 2, 2, 4},
                               {-1, 1, -4, 4}, {0, 2, -3, 4}, {0, 1, -2, 4}};
constexpr int DownArrow[7][4] = {{0, 3, 0, 4},    {1, 2, 4, -1},  {0, 2, 3, -1}, {0, 1, 2, 0},
                                 {-1, 2, -4, -1}, {0, 2, -3, -1}, {0, 1, -2, 0}};

void DrawLineArrow(HDC dc, TArrow arrow, int x, int y) {
    if (arrow == arUp || arrow == arDown) {
        for (const auto& s : arrow == arUp ? UpArrow : DownArrow) {
            MoveToEx(dc, x + s[0], y + s[1], nullptr);
            LineTo(dc, x + s[2], y + s[3]);
        }
        return;
    }
    const int d = arrow == arLeft ? 1 : -1;
    POINT p[5] = {{x, y}, {x + d, y + 2}, {x + d, y - 2}, {x - d, y}, {x + d, y + 2}};
    Polyline(dc, p, 5);
}

void FillWhite(HDC dc, const RECT& rect) {
    FillRect(dc, &rect, StockBrush(WHITE_BRUSH));
}

bool InsideAnEdit(HWND wnd) {
    return AsciiLowerCase(GetClassNameStr(GetParent(wnd))).find("edit") != std::string::npos;
}

// Keeps the rectangle 3 pixels inside the edit's window edges at the top, bottom and right.
RECT WithinEditFrame(HWND wnd, RECT rect) {
    RECT own, edit;
    GetWindowRect(wnd, &own);
    GetWindowRect(GetParent(wnd), &edit);
    if (int gap = own.top - edit.top; gap < 3) rect.top += 3 - gap;
    if (int gap = edit.bottom - own.bottom; gap < 3) rect.bottom -= 3 - gap;
    if (int gap = edit.right - own.right; gap < 3) rect.right -= 3 - gap;
    return rect;
}

} // namespace

int UpDownButtonState(const RECT& button, POINT cursor, bool enabled, bool pressed) {
    if (!enabled) return 3;
    if (!PtInRect(&button, cursor)) return 1;
    return pressed ? 2 : 4;
}

bool TSkinUpDown::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallPrevious(message);
        FState |= ssPressed;
        PaintControl(nullptr);
        return false;
    case WM_LBUTTONUP:
        FState &= ~ssPressed;
        CallPrevious(message);
        PaintControl(nullptr);
        return false;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        CallPrevious(message);
        PaintControl(nullptr);
        return false;
    case WM_PAINT: WmPaint(message); return false;
    case WM_ERASEBKGND:
        if (!Control()) {
            RECT r;
            GetClientRect(Handle(), &r);
            FillWhite(reinterpret_cast<HDC>(message.WParam), r);
        }
        message.Result = 1;
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinUpDown::Draw(HDC dc, const RECT& whole) {
    RECT rect = whole;
    if (InsideAnEdit(Handle())) {
        RECT client;
        GetClientRect(Handle(), &client);
        FillWhite(dc, client);
        rect = WithinEditFrame(Handle(), rect);
    }
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(Handle(), &cursor);
    cursor.x -= rect.left, cursor.y -= rect.top;
    const LONG style = Style();
    const bool enabled = !(style & WS_DISABLED), horizontal = Horizontal || (style & UDS_HORZ);
    const bool pressed = FState & ssPressed;
    FOffscreen.Paint(dc, rect, [&](HDC b, const RECT& area) {
        FillSkinColour(b, area);
        RECT first = area, second = area;
        if (horizontal)
            first.right = second.left = area.right / 2;
        else
            first.bottom = second.top = area.bottom / 2;
        PaintButton(b, first, 0, UpDownButtonState(first, cursor, enabled, pressed), horizontal);
        PaintButton(b, second, 1, UpDownButtonState(second, cursor, enabled, pressed), horizontal);
    });
}

void TSkinUpDown::PaintButton(HDC dc, const RECT& button, int index, int state, bool horizontal) {
    const auto& element =
        horizontal ? SkinData()->Elements().UpDownHorz : SkinData()->Elements().UpDownVert;
    const int frame = index * 4 + state;
    if (element && !element->Bitmap.Empty()) {
        DrawSkinFrame(dc, button, element->Bitmap, true, element->FrameCount, frame);
        if (!element->Bitmap2.Empty())
            DrawSkinFrameTransparent(dc, button, element->Bitmap2, element->FrameCount, frame);
        return;
    }
    const TSkinColours& c = SkinData()->Colours();
    TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(c.ButtonDkShadow)));
    TBrushHandle brush(
        CreateSolidBrush(ColorToRGB(state == 2 || state == 4 ? c.ButtonShadow : c.ButtonFace)));
    TSelectScope usePen(dc, pen.Get()), useBrush(dc, brush.Get());
    Rectangle(dc, button.left, button.top, button.right, button.bottom);
    const int x = (button.left + button.right) / 2, y = (button.top + button.bottom) / 2;
    const TArrow arrow =
        horizontal ? (index == 0 ? arLeft : arRight) : (index == 0 ? arUp : arDown);
    DrawLineArrow(dc, arrow, x, horizontal ? y : y - 2);
}
