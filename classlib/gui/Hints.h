#pragma once
// The tooltip window that shows the controls' hints: a control with ShowHint and a
// Hint has a tool there (its own window, or its rectangle on its parent's window for
// a graphic control) while it is visible and has a window to point at.
#include <windows.h>

class TControl;

void UpdateHintTool(TControl& control); // adds, moves, retexts or removes the tool
void RemoveHintTool(TControl& control);
HWND HintWindow(); // the tooltip window, made on first use
