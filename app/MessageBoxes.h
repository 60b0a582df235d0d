#pragma once
// The program's message boxes: Yes/No questions with the question icon, titled
// "  Tarnwhistle" unless a title is given, and OK boxes titled with the application's title. Each
// is owned by owner, or when that is nullptr by the active window (or the application's).
#include <string>
#include <windows.h>

class TControl;

// True on Yes.
bool AskYesNo(const std::string& text, HWND owner = nullptr);
// The same under that title.
bool AskYesNo(const std::string& text, const std::string& title, HWND owner = nullptr);
// A question whose Yes destroys data for good: No is the default button, so that Enter
// keeps the data.
bool AskBeforeDestroying(const std::string& text, HWND owner = nullptr);
bool AskBeforeDestroying(const std::string& text, const std::string& title, HWND owner = nullptr);
// With the error or the information icon.
void ShowError(const std::string& text, HWND owner = nullptr);
void ShowInformation(const std::string& text, HWND owner = nullptr);
// Plain: no icon.
void ShowNotice(const std::string& text, HWND owner = nullptr);
// The window of the form that holds asker: the owner of the boxes it asks for, which
// the active window may not be once a progress window has gone.
HWND BoxOwner(TControl* asker);
