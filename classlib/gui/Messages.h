#pragma once
// Messages as the class library passes them, the comparable window-method slot and
// the class library's own message numbers (control messages CM_*, reflected
// notifications CN_*).
#include <windows.h>

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// An object and one of its member functions: the type of the WindowProc slot and of
// application-window hooks. Two methods compare equal when object and function are
// the same, so a wrapper can tell whether its own method is still installed.
template <class Signature> class TMethod;
template <class R, class... Args> class TMethod<R(Args...)> {
public:
    TMethod() = default;
    template <auto Method, class T> static TMethod Of(T* object) {
        return TMethod(object, &Thunk<T, Method>);
    }
    R operator()(Args... args) const { return FCode(FObject, args...); }
    explicit operator bool() const { return FCode != nullptr; }
    bool operator==(const TMethod&) const = default;
    [[nodiscard]] void* Object() const { return FObject; }

private:
    using TCode = R (*)(void*, Args...);
    TMethod(void* object, TCode code) : FObject(object), FCode(code) {}
    template <class T, auto Method> static R Thunk(void* object, Args... args) {
        return (static_cast<T*>(object)->*Method)(args...);
    }
    void* FObject = nullptr;
    TCode FCode = nullptr;
};

using TWndMethod = TMethod<void(TMessage&)>;
// Returns true when it handled the message (which then goes no further).
using TWindowHook = TMethod<bool(TMessage&)>;

enum : UINT {
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0,
    CM_DEACTIVATE = CM_BASE + 1,
    CM_GOTFOCUS = CM_BASE + 2,
    CM_LOSTFOCUS = CM_BASE + 3,
    CM_DIALOGKEY = CM_BASE + 5,
    CM_DIALOGCHAR = CM_BASE + 6,
    CM_PARENTFONTCHANGED = CM_BASE + 8,
    CM_PARENTCOLORCHANGED = CM_BASE + 9,
    CM_VISIBLECHANGED = CM_BASE + 11,
    CM_ENABLEDCHANGED = CM_BASE + 12,
    CM_COLORCHANGED = CM_BASE + 13,
    CM_FONTCHANGED = CM_BASE + 14,
    CM_TEXTCHANGED = CM_BASE + 18,
    CM_MOUSEENTER = CM_BASE + 19,
    CM_MOUSELEAVE = CM_BASE + 20,
    CM_MENUCHANGED = CM_BASE + 21,
    CM_SHOWINGCHANGED = CM_BASE + 25,
    CM_ENTER = CM_BASE + 26,
    CM_EXIT = CM_BASE + 27,
    CM_RELEASE = CM_BASE + 33,
    CM_RECREATEWND = CM_BASE + 51,

    CN_BASE = 0xBC00,
    CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM,
    CN_COMMAND = CN_BASE + WM_COMMAND,
    CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM,
    CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
    CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG,
    CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
    CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX,
    CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX,
    CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR,
    CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
    CN_DELETEITEM = CN_BASE + WM_DELETEITEM,
    CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
    CN_HSCROLL = CN_BASE + WM_HSCROLL,
    CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM,
    CN_NOTIFY = CN_BASE + WM_NOTIFY,
    CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM,
    CN_VSCROLL = CN_BASE + WM_VSCROLL,
};
