#include "classlib/gui/Screen.h"
#include "classlib/gui/Form.h"
#include <algorithm>

TForm* TScreen::ActiveForm() const {
    HWND active = GetActiveWindow();
    for (TForm* form : FForms)
        if (active && form->HandleIfAllocated() == active) return form;
    return nullptr;
}

RECT TScreen::WorkArea() const {
    RECT r{0, 0, Width(), Height()};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

void TScreen::RemoveForm(TForm* form) {
    FormHidden(form);
    FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
}

bool TScreen::ActivatesForm(TForm* form) {
    if (FLastActivated == form) return false;
    FLastActivated = form;
    return true;
}

void TScreen::FormHidden(TForm* form) {
    if (FLastActivated == form) FLastActivated = nullptr;
}

namespace {

HCURSOR SystemCursor(LPCWSTR id) {
    return LoadCursorW(nullptr, id);
}

} // namespace

HCURSOR CursorHandle(TCursor cursor) {
    switch (cursor) {
    case crHourGlass: return SystemCursor(IDC_WAIT);
    case crHandPoint: return SystemCursor(IDC_HAND);
    default: return nullptr;
    }
}

// Shown at once; the windows keep it on WM_SETCURSOR until it is crDefault again.
void TScreen::SetCursor(TCursor cursor) {
    FCursor = cursor;
    POINT p;
    GetCursorPos(&p);
    ::SetCursor(cursor == crDefault ? SystemCursor(IDC_ARROW) : CursorHandle(cursor));
    SetCursorPos(p.x, p.y); // lets the window under the mouse set its own
}
