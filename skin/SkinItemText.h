#pragma once
// The painter of a header item's or a tab's content: its image and one line of text,
// placed left, centred or right in the item and vertically centred. Main thread.
#include <string>
#include <windows.h>

#include <commctrl.h> // after windows.h

// align is DT_LEFT, DT_CENTER or DT_RIGHT; image -1 (or no list) for none. The text is
// drawn transparently in the DC's text colour, or the button-shadow colour when the
// control is disabled.
void DrawItemContent(HDC dc, const RECT& item, const std::wstring& text, HIMAGELIST images,
                     int image, UINT align, bool enabled);
