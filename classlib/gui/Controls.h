#pragma once
// TControl: the base of every control, windowed or graphic. Every message a control
// receives passes through its replaceable WindowProc slot: MainWndProc (windowed
// controls) -> WindowProc -> WndProc (a switch naming one handler per message) ->
// DefaultHandler. Graphic controls get their messages from the parent through Perform.
// Main thread only.
#include "classlib/gui/Canvas.h"
#include "classlib/gui/Classes.h"
#include "classlib/gui/Graphics.h"
#include "classlib/gui/Messages.h"
#include "classlib/gui/Mouse.h"
#include <functional>
#include <string>

class TWinControl;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWndMethod WindowProc; // initially WndProc; replaceable, compare before restoring
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    [[nodiscard]] TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);

    [[nodiscard]] int Left() const { return FLeft; }
    [[nodiscard]] int Top() const { return FTop; }
    [[nodiscard]] int Width() const { return FWidth; }
    [[nodiscard]] int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    [[nodiscard]] RECT BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    // Aligned controls fill an edge (or the rest) of the parent's client area, in the
    // order top, bottom, left, right, client, each group in creation order.
    [[nodiscard]] TAlign Align() const { return FAlign; }
    void SetAlign(TAlign align);
    [[nodiscard]] virtual RECT ClientRect();
    [[nodiscard]] int ClientWidth() { return ClientRect().right; }
    [[nodiscard]] int ClientHeight() { return ClientRect().bottom; }
    // Sizes the control so that its client area is v wide (high), its frame added.
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    POINT ClientToScreen(POINT p);
    POINT ScreenToClient(POINT p);

    [[nodiscard]] bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    [[nodiscard]] bool Showing() const; // visible with every parent visible
    [[nodiscard]] bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);

    [[nodiscard]] std::string Caption() const { return ReadText(); }
    void SetCaption(const std::string& text) { WriteText(text); }
    [[nodiscard]] std::string Text() const { return ReadText(); }
    void SetText(const std::string& text) { WriteText(text); }

    [[nodiscard]] TColor Color() const { return FColor; }
    void SetColor(TColor color);
    [[nodiscard]] bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    TFont& Font() { return FFont; }
    // The font as the object property "Font"; setting it copies the given font.
    [[nodiscard]] TFont* FontObject() const { return const_cast<TFont*>(&FFont); }
    void SetFontObject(TFont* font) {
        if (font) FFont.Assign(*font);
    }
    [[nodiscard]] bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);

    [[nodiscard]] const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& hint);
    [[nodiscard]] bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);

    virtual void Invalidate();
    virtual void Update();
    void Repaint() {
        Invalidate();
        Update();
    }
    void Refresh() { Repaint(); }

    TNotifyEvent OnClick; // main thread
    virtual void Click();
    // A mouse button went down at (x, y) of the client area; main thread.
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>
        OnMouseDown;
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);

protected:
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    [[nodiscard]] virtual std::string ReadText() const { return FText; }
    virtual void WriteText(const std::string& text);   // then CM_TEXTCHANGED
    virtual void BoundsChanged(const RECT& oldBounds); // the new bounds are stored
    virtual void VisibleChanged();
    virtual void EnabledChanged() {}
    // The frame around the client area: none for a control without a window.
    [[nodiscard]] virtual SIZE NonClientSize() { return {0, 0}; }
    void RequestAlign(); // the parent realigns when this control is aligned

    void CMParentFontChanged(TMessage& message);
    void CMParentColorChanged(TMessage& message);
    void WMLButtonDown(TMessage& message);
    void WMLButtonUp(TMessage& message);

    std::string FText;
    bool FClickOnMouseUp = false; // a left click in the client area fires Click
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;

private:
    friend class TWinControl;
    TWinControl* FParent = nullptr;
    TAlign FAlign = alNone;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clBtnFace;
    bool FParentColor = true; // SetColor turns it off
    TFont FFont;
    bool FParentFont = true;
    bool FTakingParentFont = false;
    bool FMouseDown = false;
    std::string FHint;
    bool FShowHint = false;
};

// Published: Name, Tag, Left, Top, Width, Height, Visible, Enabled, Caption, Text, Color,
// ParentColor, ParentFont.
