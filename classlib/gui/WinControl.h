#pragma once
// TWinControl: a control with its own window. Its window class is named after the
// library class and superclasses a system class where one is wrapped. One static
// window procedure serves every such window: it finds the object through the route
// of WindowObjects.h, set when the window is created and removed at WM_NCDESTROY. Children's
// WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR* and scroll messages are reflected to the child's
// WindowProc as CN_ messages. Main thread only.
#include "classlib/gui/Controls.h"
#include "classlib/gui/Mouse.h"
#include "classlib/gui/Screen.h"
#include <functional>
#include <vector>

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    UINT WindowClassStyle = CS_DBLCLKS;
    std::string WinClassName; // registered for this control, "TButton"
    std::string SysClassName; // the system class it superclasses, "BUTTON"; empty: none
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle(); // makes the window (and its parent's) when there is none yet
    [[nodiscard]] HWND HandleIfAllocated() const { return FHandle; }
    [[nodiscard]] bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }
    // The window's style and extended style, or those it will be made with.
    void WindowStyles(DWORD& style, DWORD& exStyle);
    void DestroyHandle();
    void RecreateWnd();

    [[nodiscard]] int ControlCount() const { return static_cast<int>(FControls.size()); }
    [[nodiscard]] TControl* Controls(int index) const { return FControls.at(index); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // The visible, enabled graphic child at a client point, or nullptr.
    [[nodiscard]] TControl* GraphicControlAt(POINT p) const;

    [[nodiscard]] bool Focused() const;
    [[nodiscard]] bool CanFocus() const;
    virtual void SetFocus();
    [[nodiscard]] bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    // Shown over the client area unless the screen's cursor is set.
    [[nodiscard]] TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor cursor) { FCursor = cursor; }
    [[nodiscard]] bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }

    void Realign(); // places the aligned children
    // Keyboard events (main thread). Setting key to 0 in OnKeyPress (WM_CHAR) or
    // OnKeyDown (WM_KEYDOWN) keeps the key from the control.
    std::function<void(TObject* sender, wchar_t& key)> OnKeyPress;
    std::function<void(TObject* sender, WORD& key, TShiftState shift)> OnKeyDown;

    RECT ClientRect() override;
    void Invalidate() override;
    void Update() override;
    void SetBounds(int left, int top, int width, int height) override;

    // The library control of a window of this thread, or nullptr; answered from a
    // WH_CBT hook at HCBT_CREATEWND too (see WindowObject).
    static TWinControl* FindControl(HWND wnd);
    // The control whose window CreateWindowEx is making on this thread and that no
    // message or question has reached yet, or nullptr.
    static TWinControl* CreationControl();
    // The window property naming a window's object: "ControlOfs" + instance + thread id.
    static ATOM ControlAtom();
    // Paints the visible graphic children into dc (a skin painting the control itself).
    void PaintControls(HDC dc);
    // Whether this control or one of its children is inside its window procedure.
    [[nodiscard]] bool InWindowProc() const;

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd(); // makes the window, then the children's
    // The window itself, made while the control is being attached to it.
    virtual HWND CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWindowHandle();
    virtual void InitializeWnd() {} // the window exists: send it the control's state
    virtual void DestroyWnd();      // keeps the window's state, then destroys it
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    [[nodiscard]] std::string ReadText() const override;
    void WriteText(const std::string& text) override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void BoundsChanged(const RECT& oldBounds) override;
    // The part of the client area that aligned children share.
    virtual void AdjustClientRect(RECT& rect) { (void)rect; }
    // Paints the control's own surface (not its graphic children) into dc.
    virtual void PaintWindow(HDC dc);
    [[nodiscard]] SIZE NonClientSize() override;
    [[nodiscard]] bool IsSystemClass() const { return FSysClass; }

    void WMPaint(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void WMReflect(TMessage& message);
    void WMMouseMove(TMessage& message);
    void WMMouseLeave(TMessage& message);
    void WMMouseButton(TMessage& message);
    void WMWindowPosChanged(TMessage& message);
    void WMSize(TMessage& message);
    void WMChar(TMessage& message);
    void WMKeyDown(TMessage& message);
    void WMSetCursor(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    void CNCtlColor(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMColorChanged(TMessage& message);
    void CMRecreateWnd(TMessage& message);

private:
    friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
    void MainWndProc(TMessage& message);
    void AttachHandle(HWND wnd);
    void DetachHandle();
    bool ForwardMouse(TMessage& message);
    void SetMouseControl(TControl* control);

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = nullptr;
    bool FSysClass = false;
    std::vector<TControl*> FControls; // windowed and graphic children, in creation order
    int FInWndProc = 0;
    bool FMouseInControl = false;
    TControl* FMouseControl = nullptr;   // graphic child under the mouse
    TControl* FCaptureControl = nullptr; // graphic child holding the mouse while pressed
    bool FTabStop = false;
    bool FDoubleBuffered = false;
    TCursor FCursor = crDefault;
    bool FAligning = false;
    TBrush FBrush; // the control's colour, for WM_CTLCOLOR* answers and erasing
};

// Whether the control has a window of its own (is a TWinControl).
inline bool IsWindowed(const TControl* control) {
    return dynamic_cast<const TWinControl*>(control);
}

LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Registers params.WinClassName once (superclassing params.SysClassName when given)
// and returns the procedure that DefaultHandler passes messages on to.
WNDPROC RegisterControlClass(const TCreateParams& params);
