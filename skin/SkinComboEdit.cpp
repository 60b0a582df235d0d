#include "skin/SkinComboEdit.h"
#include "classlib/gui/DateTimePicker.h"
#include "classlib/gui/WindowText.h"
#include "skin/SkinControlMakers.h"
#include "skin/SkinData.h"
#include "skin/SkinReader.h"
#include <commctrl.h>

// ---- combo boxes

void TSkinComBox::InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) {
    const bool first = LifeState() == 0;
    TSkinControl::InitControl(form, data, useSkinColour);
    if (first && LifeState() == lsAttached) Attached();
}

void TSkinComBox::InitHandle(HWND wnd, TSkinData* data, TSkinForm* form) {
    const bool first = LifeState() == 0;
    TSkinControl::InitHandle(wnd, data, form);
    if (first && LifeState() == lsAttached) Attached();
}

// A drop-down combo box's edit child shows the press too. A drop-down list has
// none, and a simple combo box's list gets skinned scroll bars. A date-time picker is no combo
// box (its style bits mean other things) and has no edit child.
void TSkinComBox::Attached() {
    FPicker = dynamic_cast<TDateTimePicker*>(Control()) ||
              AsciiLowerCase(GetClassNameStr(Handle())) == "sysdatetimepick32";
    if (FPicker) return;
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (!GetComboBoxInfo(Handle(), &info)) return;
    if ((Style() & 3) == CBS_SIMPLE) return SkinList(info.hwndList);
    if (!info.hwndItem || info.hwndItem == Handle()) return;
    FEdit = info.hwndItem;
    FEditSubclass =
        std::make_unique<TWindowSubclass>(FEdit, TWndMethod::Of<&TSkinComBox::EditProc>(this));
}

// A simple combo box's list, a child window of its own, gets skinned scroll bars.
void TSkinComBox::SkinList(HWND list) {
    if (!list || !(GetWindowLongPtrW(list, GWL_STYLE) & WS_CHILD) || IsTopLevelWindow(list)) return;
    if (TSkinControl* bars = MakeSkinControl(TSkinKind::ListBars, Owner()))
        bars->InitHandle(list, SkinData(), SkinForm());
}

void TSkinComBox::Restore() {
    TSkinControl::Restore();
    FEditSubclass.reset();
    FEdit = nullptr;
}

void TSkinComBox::EditProc(TMessage& message) {
    FEditSubclass->CallPrevious(message);
    switch (message.Msg) {
    case WM_PAINT:
        if (Active()) PaintControl(nullptr);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: Press(true); break;
    case WM_LBUTTONUP: Press(false); break;
    case WM_NCDESTROY: FEditSubclass.reset(); break;
    }
}

void TSkinComBox::Press(bool pressed) {
    if (pressed)
        FState |= ssPressed;
    else
        FState &= ~ssPressed;
    Repaint();
}

void TSkinComBox::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return Press(true);
    case WM_LBUTTONUP: return Press(false);
    case WM_DRAWITEM: return Repaint();
    // Drawn over the new native frame at once: a repaint forced from here would come
    // before the erase the system may still send, which then wipes the button.
    case WM_NCPAINT: return PaintControl(nullptr);
    case CM_MOUSEENTER:
        if (FCtrlEnabled) FState |= ssHot;
        return;
    case CM_MOUSELEAVE:
        if (FCtrlEnabled) FState &= ~ssHot;
        return;
    }
    TSkinControl::AfterMessage(message);
}

TButtonFace TSkinComBox::Face() const {
    return ButtonFace({.Focused = FCtrlFocused,
                       .Hot = (FState & ssHot) != 0,
                       .Pressed = (FState & ssPressed) != 0,
                       .Enabled = FCtrlEnabled});
}

// A picker shows its drop-down button unless it has up-down arrows instead.
bool TSkinComBox::ButtonShown() const {
    if (FPicker) return !(Style() & DTS_UPDOWN);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    return GetComboBoxInfo(Handle(), &info) && !(info.stateButton & STATE_SYSTEM_INVISIBLE);
}

void TSkinComBox::Draw(HDC dc, const RECT& rect) {
    TDataSkinComboButton* button = SkinData()->Elements().ComboButton.get();
    if (!button || button->Bitmap.Empty()) return;
    if (!ButtonShown()) return;
    FCtrlEnabled = WindowEnabled();
    const HWND focus = GetFocus();
    FCtrlFocused = focus && (focus == Handle() || focus == FEdit);
    const int frame = FaceFrame(Face());
    const bool leftButton = GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR;
    if (button->Style == TComboButtonStyle::Flat) {
        // Flat: a frame in the DC's brush, the button picture unscaled at the right.
        RECT r = rect;
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, CurrentBrush(dc));
        InflateRect(&r, -1, -1);
        r.left = r.right - GetSystemMetrics(SM_CXVSCROLL);
        const int w = button->FrameWidth();
        BitBlt(dc, r.left, r.top, std::min<int>(w, r.right - r.left), r.bottom - r.top,
               button->Bitmap.Canvas().Handle(), (frame - 1) * w, 0, SRCCOPY);
        FrameShadow(dc, rect);
        return;
    }
    if (button->Style == TComboButtonStyle::Whole) {
        // One nine-slice picture of frame, button and arrow; its text area is see-through.
        TDataSkinObject* whole = button;
        if (leftButton && SkinData()->Elements().SunkEdge)
            whole = SkinData()->Elements().SunkEdge.get();
        return DrawSkinRect(dc, rect, whole->Bitmap, false, whole->Tile, true, whole->FrameCount,
                            frame, whole->Margins());
    }
    DrawParts(dc, rect, frame);
}

// The sunken frame around the native text, then the button and its arrow.
void TSkinComBox::DrawParts(HDC dc, const RECT& rect, int frame) {
    const TSkinElements& e = SkinData()->Elements();
    const bool leftButton = GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR;
    const int b = GetSystemMetrics(SM_CXHSCROLL);
    RECT text{rect.left + 2, rect.top + 2, rect.right - b - 4, rect.bottom - 2};
    RECT area{rect.right - b - 2, rect.top, rect.right - 2, rect.bottom};
    if (leftButton) {
        text = {rect.left + b + 4, rect.top + 2, rect.right - 2, rect.bottom - 2};
        area = {rect.left + 2, rect.top, rect.left + b + 2, rect.bottom};
    }
    TSavedDC state(dc);
    ExcludeClipRect(dc, text.left, text.top, text.right, text.bottom);
    if (e.SunkEdge) DrawElement(dc, rect, e.SunkEdge->FrameCount, frame, *e.SunkEdge);
    TDataSkinComboButton& button = *e.ComboButton;
    DrawSkinFrame(dc, area, leftButton ? button.Bitmap2 : button.Bitmap, true, button.FrameCount,
                  frame);
    if (e.ExtraImages && !e.ExtraImages->Bitmap.Empty())
        DrawSkinFrameTransparent(dc, area, e.ExtraImages->Bitmap, e.ExtraImages->FrameCount, frame);
}

// ---- edits

void TSkinEdit::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_NCPAINT: return PaintControl(nullptr); // the native frame was just drawn again
    case WM_PRINT: {
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        if (dc) return DrawPrinted(dc);
        return DrawPrinted(TWholeWindowDC(Handle()).Get());
    }
    }
    TSkinControl::AfterMessage(message);
}

// Client and window rectangles differ in both directions by more than slack.
bool TSkinEdit::HasBorder(int slack) const {
    RECT w, c;
    GetWindowRect(Handle(), &w);
    GetClientRect(Handle(), &c);
    return w.right - w.left > c.right + slack && w.bottom - w.top > c.bottom + slack;
}

// An up-down or spin window inside the edit is skinned once.
void TSkinEdit::SkinUpDown() {
    if (FUpDownSkinned || !(SkinData()->SkinControls & SkinKind(xcSpin))) return;
    FUpDownSkinned = true;
    for (HWND child = GetTopWindow(Handle()); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string name = AsciiLowerCase(GetClassNameStr(child));
        if (name != "msctls_updown32" && name.find("spin") == std::string::npos &&
            name.find("updown") == std::string::npos)
            continue;
        if (TSkinControl* upDown = MakeSkinControl(TSkinKind::UpDown, Owner()))
            upDown->InitHandle(child, SkinData(), SkinForm());
        return;
    }
}

void TSkinEdit::Draw(HDC dc, const RECT& rect) {
    SkinUpDown();
    if (!HasBorder(0)) return;
    // A disabled edit's client is the face colour (the edit control's own answer): its
    // inner frames join it.
    HBRUSH inner = WindowEnabled() ? StockBrush(WHITE_BRUSH) : GetSysColorBrush(COLOR_BTNFACE);
    RECT r = rect;
    FrameShadow(dc, r);
    for (int i = 0; i < 2; ++i) {
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, inner);
    }
}

void TSkinEdit::DrawPrinted(HDC dc) {
    if (!HasBorder(2)) return;
    RECT r;
    GetWindowRect(Handle(), &r);
    OffsetRect(&r, -r.left, -r.top);
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    FrameRect(dc, &inner, CurrentBrush(dc));
    FrameShadow(dc, r);
}
