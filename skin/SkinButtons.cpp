#include "skin/SkinButtons.h"
#include "classlib/gui/SpeedButton.h"
#include "skin/ImageUtils.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinReader.h"

namespace {

// The caption's first "||" is a line break.
std::string BrokenCaption(const std::string& caption) {
    const auto pos = caption.find("||");
    if (pos == std::string::npos) return caption;
    return caption.substr(0, pos) + "\n" + caption.substr(pos + 2);
}

// The rectangle text measured with flags takes inside bounds.
RECT TextBox(HDC dc, const std::string& text, RECT bounds, UINT flags) {
    SkinDrawText(dc, text, bounds, flags | DT_CALCRECT);
    return bounds;
}

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

// The glyph (from 1, of a strip of up, disabled and down pictures) a face shows.
int FaceGlyph(TButtonFace face) {
    switch (face) {
    case TButtonFace::Pressed: return 3;
    case TButtonFace::Disabled: return 2;
    default: return 1;
    }
}

// Looks 1 to 4 (unchecked, checked, then both disabled) where a long strip of check or
// radio pictures keeps them.
int LongStripFrame(int look) {
    return look == 2 ? 5 : look == 3 ? 4 : look == 4 ? 8 : look;
}

} // namespace

// ---- push buttons

TDataSkinButton* TSkinButton::Picture() const {
    TDataSkinButton* buttons = SkinData()->Elements().Buttons.get();
    return buttons && !buttons->Bitmap.Empty() ? buttons : nullptr;
}

void TSkinButton::InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) {
    TSkinControl::InitControl(form, data, useSkinColour);
    if (!Control()) return;
    const std::string name = AsciiLowerCase(Control()->ClassName());
    FForwardsMouseDown = name.rfind("trz", 0) != 0 && name.rfind("tel", 0) != 0;
}

bool TSkinButton::Default() const {
    return (Style() & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

TControl* TSkinButton::LibraryControl() const {
    return Control() ? Control() : GraphicControl();
}

HFONT TSkinButton::Font() const {
    TControl* control = LibraryControl();
    return control ? control->Font().Handle() : WindowFont(Handle());
}

bool TSkinButton::BeforeMessage(TMessage& message) {
    if (!Picture()) return TSkinControl::BeforeMessage(message); // the native look stays
    switch (message.Msg) {
    case WM_PAINT: WmPaint(message); return false;
    case WM_ERASEBKGND: message.Result = 1; return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!Focused()) SetFocus(Handle());
        FState |= ssPressed;
        PaintControl(nullptr);
        if (FForwardsMouseDown) ForwardMouseDown(message);
        return false; // the native button never sees the press
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinButton::AfterMessage(TMessage& message) {
    if (!Picture()) return TSkinControl::AfterMessage(message);
    switch (message.Msg) {
    case WM_LBUTTONUP:
        if (!(FState & ssPressed)) return;
        FState &= ~ssPressed;
        Repaint();
        return Click(); // last: the click may end the window
    case CM_MOUSEENTER:
        if (FCtrlEnabled) Hover(true);
        return;
    case CM_MOUSELEAVE:
    case WM_MOUSELEAVE:
        if (FCtrlEnabled) Hover(false);
        return;
    case WM_MOUSEMOVE: {
        if (FState & ssHot) return;
        FState |= ssHot;
        if (!Control()) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
            TrackMouseEvent(&track);
        }
        TSkinControl*& hot = SkinForm()->Controls().Hot;
        if (hot && hot != this) hot->SendMouseLeave();
        if (hot != this) {
            Repaint();
            hot = this;
        }
        return;
    }
    case WM_SETTEXT: return PaintControl(nullptr);
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (message.WParam != VK_SPACE) break;
        if (message.Msg == WM_KEYDOWN)
            FState |= ssPressed;
        else
            FState &= ~ssPressed;
        return Repaint();
    }
    TSkinControl::AfterMessage(message);
}

void TSkinButton::Hover(bool hot) {
    TSkinControl*& current = SkinForm()->Controls().Hot;
    if (hot) {
        FState |= ssHot;
        current = this;
    } else {
        FState &= ~(ssHot | ssPressed);
        if (current == this) current = nullptr;
    }
    Repaint();
}

void TSkinButton::Click() {
    if (Control()) return Control()->Click();
    HWND wnd = Handle();
    PostMessageW(GetParent(wnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), BN_CLICKED),
                 reinterpret_cast<LPARAM>(wnd));
}

COLORREF TSkinButton::TextColour(TButtonFace face) const {
    TControl* control = LibraryControl();
    if (!FCtrlEnabled) return control ? GetSysColor(COLOR_BTNSHADOW) : 0x808080;
    const TDataSkinButton& b = *SkinData()->Elements().Buttons;
    TColor colour = control ? control->Font().Color() : SkinData()->Colours().ButtonText;
    if (face == TButtonFace::Normal && b.NormalColour2Given) colour = b.NormalColour2;
    if (face == TButtonFace::Hot && b.MouseOverColour2Given) colour = b.MouseOverColour2;
    if (face == TButtonFace::Pressed && b.PressedColour2Given) colour = b.PressedColour2;
    return ColorToRGB(colour);
}

void TSkinButton::FillBackground(HDC buffer, const RECT& rect) const {
    if (SkinData()->Options & SkinOption(xoTransparent))
        FillParentBackground(buffer);
    else
        FillSkinColour(buffer, rect);
}

void TSkinButton::DrawFace(HDC buffer, const RECT& rect, TButtonFace face) {
    FillBackground(buffer, rect);
    TDataSkinButton& picture = *Picture();
    DrawElement(buffer, rect, picture.FrameCount, FaceFrame(face), picture);
}

void TSkinButton::DrawFocus(HDC buffer, RECT textRect) {
    if (!FCtrlFocused) return;
    RECT bounds{0, 0, Width(FWindowRect), Height(FWindowRect)};
    InflateRect(&textRect, 1, 1);
    DrawFocusAround(buffer, textRect, bounds);
}

TButtonState TSkinButton::ReadState() {
    GetWindowRect(Handle(), &FWindowRect);
    FCtrlEnabled = WindowEnabled();
    FCtrlFocused = Focused();
    return {.Focused = FCtrlFocused,
            .Default = Default(),
            .Hot = (FState & ssHot) != 0,
            .Pressed = (FState & ssPressed) != 0,
            .Enabled = FCtrlEnabled};
}

void TSkinButton::Draw(HDC dc, const RECT& rect) {
    if (!Picture()) return;
    const TButtonFace face = ButtonFace(ReadState());
    FMultiLine = Control() ? PropText("MultiLine") == "true" : (Style() & BS_MULTILINE) != 0;
    FOffscreen.Paint(dc, rect, [&](HDC buffer, const RECT& local) {
        DrawFace(buffer, local, face);
        DrawFocus(buffer, DrawCentredCaption(buffer, local, face,
                                             Control() ? Control()->Caption() : WindowText()));
    });
}

RECT TSkinButton::DrawCentredCaption(HDC buffer, const RECT& rect, TButtonFace face,
                                     const std::string& caption) {
    FCaption = BrokenCaption(caption);
    TSelectScope useFont(buffer, Font());
    SetTextColor(buffer, TextColour(face));
    SetBkMode(buffer, TRANSPARENT);
    RECT inner = rect;
    InflateRect(&inner, -2, -2);
    const UINT flags = (FMultiLine ? DT_WORDBREAK : 0) | DT_EXPANDTABS | DT_CENTER;
    RECT text = TextBox(buffer, FCaption, inner, flags);
    OffsetRect(&text, inner.left + (Width(inner) - Width(text)) / 2 - text.left,
               inner.top + (Height(inner) - Height(text)) / 2 - 1 - text.top);
    SkinDrawText(buffer, FCaption, text, flags);
    return text;
}

// ---- bitmap buttons

void TSkinBitButton::Draw(HDC dc, const RECT& rect) {
    auto button = dynamic_cast<TBitBtn*>(Control());
    if (!button || !Picture()) return TSkinButton::Draw(dc, rect);
    TButtonState state = ReadState();
    state.Default = state.Focused; // a focused bitmap button wears the default face
    const TButtonFace face = ButtonFace(state);
    FCaption = button->Caption();
    FOffscreen.Paint(dc, rect, [&](HDC buffer, const RECT& local) {
        DrawFace(buffer, local, face);
        const RECT text =
            DrawGlyphAndCaption(buffer, local, face,
                                {&button->Glyph(), button->NumGlyphs(), button->Layout(),
                                 button->Spacing(), button->Margin(), button});
        if (!FCaption.empty()) DrawFocus(buffer, text);
    });
}

RECT TSkinBitButton::DrawGlyphAndCaption(HDC buffer, const RECT& rect, TButtonFace face,
                                         const TGlyphLayout& g) {
    const int glyphNo = FaceGlyph(face);
    const int count = std::max(1, g.Count);
    TBitmap& glyph = *g.Glyph;
    const SIZE listSize = g.ListButton ? g.ListButton->ListGlyphSize() : SIZE{0, 0};
    const int gw = glyph.Empty() ? listSize.cx : glyph.Width() / count,
              gh = glyph.Empty() ? listSize.cy : glyph.Height();
    const TButtonLayout layout = g.Layout;
    const bool across = layout == blGlyphLeft || layout == blGlyphRight;
    RECT inner = rect;
    InflateRect(&inner, -2, -2);
    TSelectScope useFont(buffer, Font());
    RECT measure = inner;
    (across ? measure.right : measure.bottom) -= (across ? gw : gh) + 2;
    RECT text = FCaption.empty() ? RECT{} : TextBox(buffer, FCaption, measure, DT_WORDBREAK);
    const int tw = Width(text), th = Height(text);
    // Along the layout's axis: margin, glyph, spacing, text.
    const int client = across ? Width(inner) : Height(inner);
    const int glyphSize = across ? gw : gh, textSize = across ? tw : th;
    int spacing = textSize == 0 || glyphSize == 0 ? 0 : g.Spacing, margin = g.Margin;
    if (margin != -1 && PropText("Alignment") != "tacenter") {
        if (spacing == -1) spacing = (client - (margin + glyphSize) - textSize) / 2;
    } else if (spacing != -1) {
        margin = (client - (glyphSize + spacing + textSize)) / 2;
    } else {
        margin = spacing = (client - (glyphSize + textSize)) / 3;
    }
    const bool first = layout == blGlyphLeft || layout == blGlyphTop;
    const int glyphAt = first ? margin : client - margin - glyphSize;
    const int textAt = first ? glyphAt + glyphSize + spacing : glyphAt - spacing - textSize;
    const int cross = across ? Height(inner) : Width(inner);
    POINT at{inner.left, inner.top};
    RECT t{inner.left, inner.top, inner.left + tw, inner.top + th};
    if (across) {
        at.x += glyphAt;
        at.y += (cross - gh + 1) / 2;
        OffsetRect(&t, textAt, (cross - th + 1) / 2);
    } else {
        at.x += (cross - gw + 1) / 2;
        at.y += glyphAt;
        OffsetRect(&t, (cross - tw + 1) / 2, textAt);
    }
    if (!glyph.Empty()) {
        const int index = count >= glyphNo ? glyphNo - 1 : 0;
        TBitmap single;
        single.SetSize(gw, gh);
        BitBlt(single.Canvas().Handle(), 0, 0, gw, gh, glyph.Canvas().Handle(), index * gw, 0,
               SRCCOPY);
        if (face == TButtonFace::Disabled) GrayBitmap(single);
        TCanvas canvas;
        canvas.SetHandle(buffer);
        DrawGlyphFrame(canvas, single, 1, 0, at.x, at.y);
        canvas.SetHandle(nullptr);
    } else if (g.ListButton) {
        g.ListButton->DrawListGlyph(buffer, at.x, at.y, face != TButtonFace::Disabled);
    }
    SetTextColor(buffer, TextColour(face));
    SetBkMode(buffer, TRANSPARENT);
    const UINT align = layout == blGlyphRight ? DT_RIGHT : across ? DT_LEFT : DT_CENTER;
    SkinDrawText(buffer, FCaption, t, DT_WORDBREAK | align);
    return t;
}

// ---- speed buttons

void TSkinSpeedButton::SetState(unsigned on, unsigned off) {
    FState = (FState | on) & ~off;
    PaintControl(nullptr);
}

bool TSkinSpeedButton::BeforeMessage(TMessage& message) {
    if (!Picture()) return TSkinControl::BeforeMessage(message);
    switch (message.Msg) {
    case WM_PAINT:
        Draw(reinterpret_cast<HDC>(message.WParam), GraphicControl()->ClientRect());
        message.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallPrevious(message);
        SetState(ssPressed, 0);
        return false;
    case WM_LBUTTONUP:
        // Released before the click runs: the click may take long or end the wrapper.
        SetState(0, ssPressed);
        CallPrevious(message);
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinSpeedButton::AfterMessage(TMessage& message) {
    if (!Picture()) return TSkinControl::AfterMessage(message);
    switch (message.Msg) {
    case CM_MOUSEENTER: return SetState(ssHot, 0);
    case CM_MOUSELEAVE: return SetState(0, ssHot | ssPressed);
    }
    TSkinControl::AfterMessage(message);
}

// Painted at once, by the parent's paint.
void TSkinSpeedButton::PaintControl(HDC dc) {
    TControl* button = GraphicControl();
    if (dc) return Draw(dc, button->ClientRect());
    button->Invalidate();
    button->Update();
}

void TSkinSpeedButton::Draw(HDC dc, const RECT& rect) {
    auto button = dynamic_cast<TSpeedButton*>(GraphicControl());
    if (!button || !dc || !Picture() || FPainting) return;
    FPainting = true;
    FCtrlEnabled = button->Enabled();
    const TButtonFace face = ButtonFace({.Hot = (FState & ssHot) != 0,
                                         .Pressed = (FState & ssPressed) != 0,
                                         .Enabled = FCtrlEnabled,
                                         .Down = button->Down()});
    FOffscreen.Paint(dc, rect, [&](HDC buffer, const RECT& local) {
        if (face == TButtonFace::Pressed || face == TButtonFace::Hot || !button->Flat())
            DrawFace(buffer, local, face);
        else
            FillBackground(buffer, local);
        if (button->Glyph().Empty()) {
            DrawCentredCaption(buffer, local, face, button->Caption());
        } else {
            FCaption = button->Caption();
            DrawGlyphAndCaption(
                buffer, local, face,
                {&button->Glyph(), button->NumGlyphs(), blGlyphLeft, TSpeedButton::GlyphGap});
        }
    });
    FPainting = false;
}

// ---- check boxes and radio buttons

void TSkinCheckBox::InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) {
    TSkinControl::InitControl(form, data, useSkinColour);
    FPaintsWhole = Control() != nullptr;
}

bool TSkinCheckBox::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    int frames;
    TBitmap* strip = Strip(frames);
    if (!strip || strip->Empty()) return true;
    if (message.Msg == WM_ERASEBKGND && (SkinData()->Options & SkinOption(xoTransparent))) {
        WmEraseBkgnd(message);
        return false;
    }
    if ((message.Msg == WM_PAINT || message.Msg == WM_PRINT) && FPaintsWhole) {
        WmPaint(message);
        return false;
    }
    return true;
}

void TSkinCheckBox::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT: return Repaint();
    }
    TSkinControl::AfterMessage(message);
}

TBitmap* TSkinCheckBox::Strip(int& frames) const {
    TDataSkinButton* buttons = SkinData()->Elements().Buttons.get();
    if (!buttons) return nullptr;
    frames = std::max(1, buttons->CheckFrames);
    return &buttons->CheckBitmap;
}

int TSkinCheckBox::GlyphFrame(int frames) const {
    const LRESULT check = SendMessageW(Handle(), BM_GETCHECK, 0, 0);
    const bool enabled = WindowEnabled();
    if (check == BST_INDETERMINATE) return frames == 12 ? (enabled ? 9 : 12) : 4;
    const int value = (check == BST_CHECKED ? 2 : 1) + (enabled ? 0 : 2);
    return frames == 12 ? LongStripFrame(value) : value;
}

RECT TSkinCheckBox::GlyphBox(const RECT& rect, int glyphWidth, int glyphHeight) const {
    const int x = (Style() & BS_RIGHTBUTTON) ? rect.right - glyphWidth : rect.left;
    const int y = rect.top + (Height(rect) - glyphHeight) / 2;
    return {x, y, x + glyphWidth, y + glyphHeight};
}

TBitmap* TSkinRadioButton::Strip(int& frames) const {
    TDataSkinButton* buttons = SkinData()->Elements().Buttons.get();
    if (!buttons) return nullptr;
    frames = std::max(1, buttons->RadioFrames);
    return &buttons->RadioBitmap;
}

int TSkinRadioButton::GlyphFrame(int frames) const {
    int value = (SendMessageW(Handle(), BM_GETCHECK, 0, 0) & 1) ? 2 : 1;
    if (!WindowEnabled()) value += 2;
    return frames == 8 ? LongStripFrame(value) : value;
}

RECT TSkinRadioButton::GlyphBox(const RECT& rect, int glyphWidth, int glyphHeight) const {
    RECT box = TSkinCheckBox::GlyphBox(rect, glyphWidth, glyphHeight);
    if (glyphWidth < 15) OffsetRect(&box, (14 - glyphWidth) / 2, 0);
    return box;
}

void TSkinCheckBox::Draw(HDC dc, const RECT& rect) {
    int frames;
    TBitmap* strip = Strip(frames);
    if (!strip || strip->Empty()) {
        FPaintsWhole = false;
        return;
    }
    FCtrlEnabled = WindowEnabled();
    FCtrlFocused = Focused();
    const RECT local{0, 0, Width(rect), Height(rect)};
    const RECT box = GlyphBox(local, strip->Width() / frames, strip->Height());
    // A bare window keeps its native caption: only the glyph's box is covered.
    const RECT& filled = FPaintsWhole ? local : box;
    RECT target = filled;
    OffsetRect(&target, rect.left, rect.top);
    FOffscreen.Paint(dc, target, [&](HDC buffer, const RECT& area) {
        RECT glyph = box;
        OffsetRect(&glyph, -filled.left, -filled.top);
        if (SkinData()->Options & SkinOption(xoTransparent))
            FillParentBackground(buffer);
        else
            FillSkinColour(buffer, area);
        DrawSkinFrame(buffer, glyph, *strip, true, frames, GlyphFrame(frames));
        if (FPaintsWhole) DrawCheckCaption(buffer, local);
    });
}

void TSkinCheckBox::DrawCheckCaption(HDC buffer, const RECT& local) {
    const bool right = Style() & BS_RIGHTBUTTON;
    RECT text = local;
    (right ? text.right : text.left) += right ? -18 : 18;
    FCaption = WindowText();
    if (FCaption.empty()) FCaption = Control()->Caption();
    TSelectScope useFont(buffer, Control()->Font().Handle());
    SetTextColor(buffer, ColorToRGB(Control()->Font().Color()));
    UINT flags = right ? DT_RIGHT : DT_WORDBREAK | DT_EXPANDTABS;
    // A caption the control cannot hold is shortened on one line, never cut.
    const RECT whole = TextBox(buffer, FCaption, text, flags);
    if (Height(whole) > Height(text) || Width(whole) > Width(text))
        flags = (flags & ~DT_WORDBREAK) | DT_SINGLELINE | DT_END_ELLIPSIS;
    DrawCaption(buffer, text, flags, FCtrlEnabled, FCaption);
    if (FCtrlFocused) {
        RECT measured = TextBox(buffer, FCaption, text, flags | DT_NOCLIP);
        OffsetRect(&measured, 0, (Height(text) - Height(measured)) / 2 - 1);
        DrawFocusAround(buffer, measured, local);
    }
}
