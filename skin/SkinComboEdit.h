#pragma once
// Skinned combo boxes (and date-time pickers): the frame and drop-down button drawn
// from the skin's "ComboButton", "SunkEdge" and "ExtraImages" over the native paint,
// following hover and press; and skinned edits: a border in the skin's colours,
// drawn again after every client and non-client paint. Main thread.
#include "skin/ButtonFaces.h"
#include "skin/SkinControl.h"

class TSkinComBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour) override;
    void InitHandle(HWND wnd, TSkinData* data, TSkinForm* form) override;
    void Restore() override;

protected:
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    void Attached();
    void SkinList(HWND list);
    void EditProc(TMessage& message);
    void Press(bool pressed);
    [[nodiscard]] TButtonFace Face() const;
    [[nodiscard]] bool ButtonShown() const;
    void DrawParts(HDC dc, const RECT& rect, int frame);

    HWND FEdit = nullptr; // the edit child of a drop-down combo box
    bool FPicker = false; // a date-time picker, painted as a drop-down combo box
    std::unique_ptr<TWindowSubclass> FEditSubclass;
};

class TSkinEdit : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    void SkinUpDown();
    [[nodiscard]] bool HasBorder(int slack) const;
    void DrawPrinted(HDC dc);

    bool FUpDownSkinned = false;
};
