#pragma once
// TForm: a top-level window built in code, owned by the application window. Shown
// modeless (Show) or modal (ShowModal, ending when ModalResult is set). Events fire on
// the main thread.
#include "classlib/gui/WinControl.h"
#include <functional>

class TApplication;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
enum TPosition {
    poDesigned,
    poDefault,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
// An MDI form's window holds an "MDIClient" window in which the MDI child forms live.
enum TFormStyle { fsNormal, fsStayOnTop, fsMDIChild, fsMDIForm };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
using TModalResult = int;
enum : TModalResult {
    mrNone = 0,
    mrOk = IDOK,
    mrCancel = IDCANCEL,
    mrAbort = IDABORT,
    mrRetry = IDRETRY,
    mrIgnore = IDIGNORE,
    mrYes = IDYES,
    mrNo = IDNO
};

class EInvalidOperation : public Exception {
    using Exception::Exception;
};

// Any form: the class a skin tests controls for.
class TCustomForm : public TWinControl {
public:
    using TWinControl::TWinControl;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    [[nodiscard]] TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle style);
    [[nodiscard]] unsigned BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(unsigned icons);
    [[nodiscard]] TPosition Position() const { return FPosition; }
    void SetPosition(TPosition position) { FPosition = position; }
    [[nodiscard]] TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle style);

    [[nodiscard]] TWindowState WindowState() const;
    void SetWindowState(TWindowState state); // applied when the form shows

    void Show(); // visible and in front
    void Close();
    [[nodiscard]] bool CloseQuery();
    void Release();  // frees the form once its messages have been handled
    int ShowModal(); // EInvalidOperation when already visible
    [[nodiscard]] TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult result) { FModalResult = result; }
    [[nodiscard]] bool Modal() const { return FModal; }
    [[nodiscard]] bool Active() const;

    // An MDI form's client window, nullptr for other forms or before the window exists.
    [[nodiscard]] HWND ClientHandle() const { return FClientHandle; }
    // The MDI child that is active in this MDI form, or nullptr.
    [[nodiscard]] TForm* ActiveMDIChild() const;
    void Tile();
    void Cascade();

    // OnCreate is fired by DoCreate, which whoever builds the form calls once its
    // controls exist (TApplication::CreateForm does). OnDestroy fires in the destructor.
    void DoCreate();
    TNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnActivate, OnDeactivate;
    std::function<void(TObject* sender, TCloseAction& action)> OnClose;
    std::function<void(TObject* sender, bool& canClose)> OnCloseQuery;

    // Tab, Return and Escape for the form that holds msg.hwnd, the MDI child form for a
    // window in one (sent as CM_DIALOGKEY, Alt+key as CM_DIALOGCHAR); true when the form
    // used the key.
    static bool IsDialogKeyMessage(const MSG& msg);
    // The application that owns the form (its owner when that is one, else Application).
    [[nodiscard]] TApplication* OwningApplication() const;
    // Called with a form's window before it shows (a new window's controls are made
    // after that), and once the controls of a new visible window are made: a skin dresses
    // the window and its controls there, so that none of them appears without it.
    static inline void (*OnDressing)(HWND wnd, bool controlsMade) = nullptr;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void VisibleChanged() override;
    void InitializeWnd() override;
    void CreateWnd() override;
    HWND CreateWindowHandle(const TCreateParams& params) override;
    void DestroyWindowHandle() override;
    void DefaultHandler(TMessage& message) override;

    void WMClose(TMessage& message);
    void WMActivate(TMessage& message);
    void CMActivate(TMessage& message);
    void CMDeactivate(TMessage& message);
    void CMDialogKey(TMessage& message);
    void CMDialogChar(TMessage& message);
    void CMRelease(TMessage& message);
    void WMSysCommand(TMessage& message);

private:
    void ApplyPosition();
    [[nodiscard]] int ShowCommand() const;
    void CloseModal();
    bool Broadcast(TWinControl* container, TMessage& message);
    // The MDI form an MDI child lives in: its owner when that is one, else the main form.
    [[nodiscard]] TForm& MDIParent() const;

    TFormBorderStyle FBorderStyle = bsSizeable;
    unsigned FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition FPosition = poDesigned;
    TFormStyle FFormStyle = fsNormal;
    TWindowState FWindowState = wsNormal;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    HWND FClientHandle = nullptr;
};

// The form a control sits on, or nullptr.
TForm* GetParentForm(TControl* control);
