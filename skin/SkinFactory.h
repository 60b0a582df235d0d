#pragma once
// The control factories: when a skinned window is activated, every control of a form
// of the class library, and every child window of a bare window, gets the skinned
// wrapper its class calls for (or none), in a fixed order: the skin data's
// OnSkinControl event, its Skin3rd class map, the table of library classes and, for
// bare windows, the table of window classes. Each row is gated by a member of the
// skin data's SkinControls. Main thread.
#include <windows.h>

class TSkinForm;
class TWinControl;

// The controls of the skinned window: its form's, or a bare window's child windows.
void SkinWindowControls(TSkinForm& skinForm);
// Every control of a form of the class library.
void SkinAllControls(TSkinForm& skinForm, TWinControl* form);
// The window-class factory for one child window of a bare window.
void SkinChildWindow(TSkinForm& skinForm, HWND wnd);
// SkinChildWindow for every direct child window of parent.
void SkinChildWindows(TSkinForm& skinForm, HWND parent);
