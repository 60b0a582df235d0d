#pragma once
// Skinned push buttons, bitmap buttons, speed buttons, check boxes and radio buttons, painted from
// the skin's "Buttons" element: its 5-frame push-button strip (the faces of ButtonFaces.h)
// and its check-box and radio strips. Push buttons take the press themselves and click on
// release. Without the picture a control keeps its native paint. Main thread.
#include "classlib/gui/BitBtn.h"
#include "skin/ButtonFaces.h"
#include "skin/SkinControl.h"

class TDataSkinButton;

class TSkinButton : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) override;

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    // The "Buttons" element when it has its push-button picture.
    [[nodiscard]] TDataSkinButton* Picture() const;
    [[nodiscard]] bool Default() const;
    // The background under the button: the parent's colour with xoTransparent, else the
    // skin's face.
    void FillBackground(HDC buffer, const RECT& rect) const;
    // Reads enabled and focused again; the button's state for its face.
    TButtonState ReadState();
    // Composes the background and the button's face; the caption follows.
    void DrawFace(HDC buffer, const RECT& rect, TButtonFace face);
    // The caption centred in the rectangle shrunk by 2, word-wrapped when FMultiLine; its
    // rectangle.
    RECT DrawCentredCaption(HDC buffer, const RECT& rect, TButtonFace face,
                            const std::string& caption);
    // The control of the library behind the wrapper, windowed or not.
    [[nodiscard]] TControl* LibraryControl() const;
    [[nodiscard]] COLORREF TextColour(TButtonFace face) const;
    [[nodiscard]] HFONT Font() const;
    void DrawFocus(HDC buffer, RECT textRect);

private:
    void Hover(bool hot);
    void Click();

    // The caption wraps at word ends over several lines, as the native BS_MULTILINE.
    bool FMultiLine = false;
    // Off for the classes that run their own mouse-down event on a press the wrapper keeps.
    bool FForwardsMouseDown = true;
};

// What a button with a glyph shows beside its caption, and where.
struct TGlyphLayout {
    TBitmap* Glyph = nullptr; // a strip of Count pictures: up, disabled, down
    int Count = 1;
    TButtonLayout Layout = blGlyphLeft;
    int Spacing = -1; // between glyph and caption; -1: as far as the margins
    int Margin = -1;  // from the edge of the glyph's side; -1: glyph and caption centred
    const TBitBtn* ListButton = nullptr; // its image-list glyph, when Glyph is empty
};

// A button with a glyph beside its caption.
class TSkinBitButton : public TSkinButton {
public:
    using TSkinButton::TSkinButton;

protected:
    void Draw(HDC dc, const RECT& rect) override;
    // Glyph and FCaption laid out along the layout's axis in the rectangle shrunk by 2;
    // with neither margin nor spacing the free space goes in three equal parts. The
    // caption's rectangle.
    RECT DrawGlyphAndCaption(HDC buffer, const RECT& rect, TButtonFace face,
                             const TGlyphLayout& glyph);
};

// A speed button: a control without a window, painted on its parent's paint. A flat one
// shows the button frame only when hot or pressed. The press and the click stay the
// control's own.
class TSkinSpeedButton : public TSkinBitButton {
public:
    using TSkinBitButton::TSkinBitButton;

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintControl(HDC dc) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    void SetState(unsigned on, unsigned off);
    bool FPainting = false;
};

// Check boxes: a control of the library is painted whole, caption included; a bare
// window keeps its native caption and gets only the glyph.
class TSkinCheckBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) override;

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    // The strip and its frame count, and the frame (from 1) for the control's state.
    [[nodiscard]] virtual TBitmap* Strip(int& frames) const;
    [[nodiscard]] virtual int GlyphFrame(int frames) const;
    [[nodiscard]] virtual RECT GlyphBox(const RECT& rect, int glyphWidth, int glyphHeight) const;

private:
    // The caption beside the glyph, and its focus rectangle.
    void DrawCheckCaption(HDC buffer, const RECT& local);

    // Painted whole, caption included; off for a bare window and once the strip is missing.
    bool FPaintsWhole = false;
};

class TSkinRadioButton : public TSkinCheckBox {
public:
    using TSkinCheckBox::TSkinCheckBox;

protected:
    [[nodiscard]] TBitmap* Strip(int& frames) const override;
    [[nodiscard]] int GlyphFrame(int frames) const override;
    [[nodiscard]] RECT GlyphBox(const RECT& rect, int glyphWidth, int glyphHeight) const override;
};
