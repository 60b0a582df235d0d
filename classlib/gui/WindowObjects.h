#pragma once
// The one route from a window to the library object behind it, for every window the
// class library makes: forms and controls, the application window, utility windows
// and the threads' notify window. A window property (the atom "ControlOfs" + instance
// + thread id) names the object from the window's first message, or from a question
// asked before it, until WM_NCDESTROY. Main thread only.
#include <string>
#include <windows.h>

class TObject;

// The object of a window the library made on this thread, or nullptr for a foreign
// window. A window the library is making right now is answered before its first
// message: a WH_CBT hook may ask at HCBT_CREATEWND.
TObject* WindowObject(HWND wnd);
// The object whose window this thread is making, before CreateWindowEx returns.
TObject* WindowObjectInCreation();
// The property's atom.
ATOM WindowObjectAtom();

// While alive, the next window of that class made on this thread belongs to the
// object; Attached is told the window when it is first asked for or sent a message.
// Creations nest (a window made while another is being made).
class TWindowCreation {
public:
    TWindowCreation(TObject& object, const std::string& className,
                    void (*attached)(TObject&, HWND));
    ~TWindowCreation();
    TWindowCreation(const TWindowCreation&) = delete;
    TWindowCreation& operator=(const TWindowCreation&) = delete;

private:
    friend TObject* WindowObject(HWND wnd);
    friend TObject* WindowObjectInCreation();
    TObject& FObject;
    std::wstring FClassName;
    void (*FAttached)(TObject&, HWND);
    TWindowCreation* FPrevious;
    bool FClaimed = false;
};

// Names the object of a window (nullptr: no object any more); for WM_NCDESTROY.
void SetWindowObject(HWND wnd, TObject* object);
