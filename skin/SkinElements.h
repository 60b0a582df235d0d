#pragma once
// Skin elements: one picture of the skin (all its frames side by side, or stacked
// for borders) with its margins, transparency, tiling, frame count, style and
// colours, typed as the skin's ini is read. Painters only read them. Main thread.
#include "classlib/gui/Bitmap.h"
#include "skin/SkinPaint.h"
#include <string>

class TDataSkinObject {
public:
    explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
    virtual ~TDataSkinObject() = default;
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;

    [[nodiscard]] TSkinMargins Margins() const {
        return {LeftWidth, TopHeight, RightWidth, BottomHeight};
    }
    // Width of one frame of frames side by side.
    [[nodiscard]] int FrameWidth() const { return Bitmap.Width() / FrameCount; }

    int LeftWidth = 0, TopHeight = 0, RightWidth = 0, BottomHeight = 0;
    TBitmap Bitmap;
    bool Trans = false; // magenta pixels are transparent
    bool Tile = false;  // the middle of a frame is tiled, else stretched (a border's: stretched)
    std::string Name;
    int FrameCount = 1; // at least 1
    int NormalColour = -1, MouseOverColour = -1, PressedColour = -1;
    TColor NormalColour2 = clBtnText, MouseOverColour2 = clBtnText, PressedColour2 = clBtnText;
};

// Borders, Progress ("Chunk"), Tabs ("Border"), ComboButton and the up-down buttons
// ("GlyphImage") carry a second picture.
class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap Bitmap2;
};

// "ComboButton" "Style": 0 the button beside the sunken edge, 1 flat, 2 one picture of
// the whole box.
enum class TComboButtonStyle { Parts, Flat, Whole };

class TDataSkinComboButton : public TDataSkinBorder {
public:
    using TDataSkinBorder::TDataSkinBorder;
    TComboButtonStyle Style = TComboButtonStyle::Parts;
};

// "Progress" "Style": 0 the bar's filled frame stretched, 1 its "Chunk" picture repeated.
enum class TProgressStyle { Bar, Chunks };

class TDataSkinProgress : public TDataSkinBorder {
public:
    using TDataSkinBorder::TDataSkinBorder;
    TProgressStyle Style = TProgressStyle::Bar;
};

// "Buttons": the push-button strip (5 frames) with the check-box and radio strips.
class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap CheckBitmap, RadioBitmap;
    int RadioFrames = 4, CheckFrames = 4;
    bool NormalColour2Given = false, MouseOverColour2Given = false, PressedColour2Given = false;
};

// "GroupBox": the group box's caption background.
class TDataSkinBoxLabel : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int BackgroundLeftShift = 0, BackgroundRightShift = 0, BackgroundAlignment = 0;
};

// "Title": the caption text. Its margins hold TextShift (left), TextShiftVert (top)
// and TextRightClip (right); its picture is the text background.
class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int TextAlignment = 0, TextBackground = 0, FontHeight = 14;
    int TXTBackleft = 0, TXTBackRight = 0;
    TColor ActiveTextColor = clNone, InactiveTextColor = clNone;
};

// A caption button: close, maximize, minimize, system menu, MDI and custom actions.
class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int Action = 0, Align = 0, Xcoord = 0, Ycoord = 0, CombineOp = -1;
    int Visibility = 0, Visibility1 = 0;
};
