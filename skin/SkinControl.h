#pragma once
// TSkinControl: the base of every skinned control. One wrapper routes every message of
// one control of a skinned window through itself: a control of the class library (its
// WindowProc slot is replaced), a graphic control (the same, without a window) or a
// bare window (subclassed). Subclasses paint from the skin in Draw and follow hover
// and press. The wrapper is owned by its control (nullptr for a bare window) and
// listed by the skinned window's TSkinControls, which frees it on unskinning.
// Main thread.
#include "classlib/gui/Classes.h"
#include "classlib/gui/Controls.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/WindowSubclass.h"
#include "skin/SkinPaint.h"
#include <memory>
#include <string>
#include <vector>

class TSkinData;
class TSkinForm;
class TSkinControl;
class TDataSkinObject;

// The wrappers of one skinned window and the one of them under the mouse.
class TSkinControls {
public:
    TSkinControls() = default;
    ~TSkinControls() { DestroyAll(); }
    TSkinControls(const TSkinControls&) = delete;
    TSkinControls& operator=(const TSkinControls&) = delete;

    // True when it was listed already.
    bool Add(TSkinControl* control);
    void Remove(TSkinControl* control);
    // Frees the wrappers whose window has gone.
    void Sweep();
    // Gives every control back (those whose window lives are restored) and frees them.
    void DestroyAll();
    void RefreshAll();
    [[nodiscard]] TSkinControl* Find(HWND wnd) const;
    [[nodiscard]] TSkinControl* FindFor(const TControl* control) const;
    [[nodiscard]] int Count() const { return static_cast<int>(FItems.size()); }

    TSkinControl* Hot = nullptr;
    // A pass over the window's controls is asked for, or running.
    bool Pending = false;

private:
    std::vector<TSkinControl*> FItems;
};

enum : unsigned { ssHot = 1, ssPressed = 2 };
enum { lsAttached = 1, lsRestored = 2, lsDestroyed = 6 };

class TSkinControl : public TComponent {
public:
    explicit TSkinControl(TComponent* owner) : TComponent(owner) {}
    ~TSkinControl() override;

    // Attaches to the owner, a control of the class library; a second call does nothing.
    // useSkinColour gives the control the skin's face colour until Restore.
    virtual void InitControl(TSkinForm* form, TSkinData* data, bool useSkinColour);
    // Attaches to a bare window.
    virtual void InitHandle(HWND wnd, TSkinData* data, TSkinForm* form);
    // Attaches to the owner, a graphic control.
    void InitGraphic(TSkinForm* form, TSkinData* data);
    // Attaches to a scrolling control: only the scroll-bar wrappers do.
    virtual void InitScroll(TWinControl* control, TSkinData* data, TSkinForm* form);
    // Puts back what attaching changed on the control (its colour).
    virtual void Restore();
    // The skin changed: colour again, repaint.
    virtual void Refresh();
    void Repaint();
    void SendMouseLeave();

    [[nodiscard]] HWND Handle() const { return FHandle; }
    [[nodiscard]] TWinControl* Control() const { return FControl; }
    [[nodiscard]] TControl* GraphicControl() const { return FGraphicControl; }
    [[nodiscard]] TSkinData* SkinData() const { return FSkinData; }
    [[nodiscard]] TSkinForm* SkinForm() const { return FSkinForm; }
    [[nodiscard]] bool Active() const { return FActive; }
    [[nodiscard]] int LifeState() const { return FLifeState; }
    [[nodiscard]] bool UseSkinColour() const { return FUseSkinColour; }
    [[nodiscard]] unsigned State() const { return FState; }

protected:
    // The attach of InitControl; without hook the control's messages do not pass here.
    void AttachControl(TSkinForm* form, TSkinData* data, bool useSkinColour, bool hook);
    // True: pass the message on to the previous procedure, then AfterMessage.
    virtual bool BeforeMessage(TMessage& message);
    virtual void AfterMessage(TMessage& message);
    // Paints the whole window into dc, or into a window DC when dc is nullptr.
    virtual void PaintControl(HDC dc);
    virtual void Draw(HDC dc, const RECT& rect) {
        (void)dc;
        (void)rect;
    }
    void CallPrevious(TMessage& message);
    // The control's window was made again: the wrapper follows its new handle.
    void FollowNewHandle();
    void WmPaint(TMessage& message);
    void WmEraseBkgnd(TMessage& message);
    // The wrapped control's own mouse-down handling, for a press the wrapper keeps.
    void ForwardMouseDown(const TMessage& message) const;
    // What the parent paints under the control (its background and content), else a
    // fill with the parent's colour; drawChildren as for DrawParentBackground.
    void FillParentBackground(HDC dc, bool drawChildren = false) const;
    // The control's parent colour, else def.
    [[nodiscard]] TColor GetControlColour(TColor def) const;
    void FillSkinColour(HDC dc, const RECT& rect) const;
    void FillControlColour(HDC dc, const RECT& rect) const;
    // A one-pixel frame in the skin's shadow colour.
    void FrameShadow(HDC dc, const RECT& rect) const;
    // Frame `frame` of `frames` of the element scaled to the rectangle by its margins.
    static void DrawElement(HDC dc, const RECT& rect, int frames, int frame,
                            TDataSkinObject& element);
    // A focus rectangle around the text's rectangle, kept inside bounds.
    void DrawFocusAround(HDC dc, RECT textRect, const RECT& bounds) const;
    [[nodiscard]] bool Focused() const { return FHandle && GetFocus() == FHandle; }
    // The control's "ParentBackground" was on and the attach switched it off.
    [[nodiscard]] bool ParentBackgroundSwitchedOff() const { return FParentBgWasTrue; }
    [[nodiscard]] bool WindowEnabled() const;
    [[nodiscard]] LONG_PTR Style() const;
    [[nodiscard]] std::string WindowText() const;
    // A published property of the control as text, lower-cased; empty when it has none.
    [[nodiscard]] std::string PropText(const std::string& name) const;
    void SetPropText(const std::string& name, const std::string& value);

    unsigned FState = 0;
    bool FCtrlEnabled = true;
    bool FCtrlFocused = false;
    std::string FCaption;
    RECT FWindowRect{};
    bool FUseSkinColour = false;
    TOffscreen FOffscreen;

private:
    void MessageProc(TMessage& message);
    void ParentBackground(bool switchOff);
    void Unhook();

    TSkinData* FSkinData = nullptr;
    TSkinForm* FSkinForm = nullptr;
    HWND FHandle = nullptr;
    TWinControl* FControl = nullptr;
    TControl* FGraphicControl = nullptr;
    TWndMethod FOldWindowProc;
    std::unique_ptr<TWindowSubclass> FSubclass;
    TColor FSavedColour = clBtnFace;
    bool FParentBgWasTrue = false;
    bool FActive = true;
    bool FAttached = false;
    int FLifeState = 0;
};

// The parent's background and content under a control without one of its own, drawn
// into the control's DC. With drawChildren a parent that paints no content of its own
// (neither a form nor a custom control) is invalidated too, so it paints for real.
void DrawParentBackground(TControl& control, HDC dc, bool drawChildren = false);
// The font a window draws its text with (WM_GETFONT), or the system's.
HFONT WindowFont(HWND wnd);
// A window counts as top-level when its parent is the desktop or it is a popup.
bool IsTopLevelWindow(HWND wnd);
// Text drawn once in the rectangle, vertically centred (half the free height, minus
// one); disabled text in the button-shadow colour. Flags as DrawText's.
void DrawCaption(HDC dc, RECT rect, UINT flags, bool enabled, const std::string& text);
// One line of text centred in the rectangle, both ways, with the alignment's flag;
// disabled text in the button-shadow colour.
void DrawSkinText(HDC dc, RECT rect, const std::string& text, TAlignment alignment, bool enabled);
