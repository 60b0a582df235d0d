// The form hook of a skinned window: while its frame is skinned, a form's WindowProc
// passes through TSkinForm, which takes the Alt+keys that no control of the form used.
#include "classlib/gui/Mouse.h"
#include "classlib/gui/WinControl.h"
#include "skin/SkinForm.h"
#include "skin/SkinMenuBar.h"

void TSkinForm::HookForm() {
    if (!FForm || !FFrameSkin) return;
    FOldFormProc = FForm->WindowProc;
    FForm->WindowProc = TWndMethod::Of<&TSkinForm::FormWndProc>(this);
}

void TSkinForm::UnhookForm() {
    if (FForm && FForm->WindowProc == TWndMethod::Of<&TSkinForm::FormWndProc>(this))
        FForm->WindowProc = FOldFormProc;
    FOldFormProc = {};
}

void TSkinForm::FormWndProc(TMessage& message) {
    FOldFormProc(message);
    if (message.Msg == CM_DIALOGCHAR && !message.Result) DialogChar(message);
}

// An Alt+key that no control of the form took: the menu bar's button of that key is
// clicked, else an MDI child hands the key on to its MDI form.
void TSkinForm::DialogChar(TMessage& message) {
    const auto key = static_cast<wchar_t>(message.WParam);
    const bool alt = KeyDataToShiftState(static_cast<long>(message.LParam)) == ssAlt;
    if (const int index = FMenuBar && key && alt ? FMenuBar->IndexOfKey(key) : -1; index >= 0) {
        // Posted, one pixel inside the button: the menu drops from the message loop.
        const TFrameMetrics& m = Metrics();
        const RECT& button = FMenuBar->Button(index).Rect;
        POINT at{button.left + 1 - m.Left, button.top + 1 - m.Title - m.MenuBar};
        ClientToScreen(Handle, &at);
        PostMessageW(Handle, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(at.x, at.y));
        message.Result = 1;
        return;
    }
    if (FMDIRole != TMDIRole::Child) return;
    // The MDI form is the parent of the MDI client the child lives in.
    if (TWinControl* frame = TWinControl::FindControl(GetParent(GetParent(Handle))))
        message.Result = frame->Perform(CM_DIALOGCHAR, message.WParam, message.LParam);
    if (message.Result) return;
    FOldFormProc(message); // the child's own procedure once more, the result still 0
}
