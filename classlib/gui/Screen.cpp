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
    FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
}
