#pragma once
// Building forms in code: controls placed one call each (Place), forms sized.
#include "classlib/gui/Form.h"
#include "classlib/gui/PlaceControl.h"

// Sizes a form's client area. The class library takes the frame off the form's
// current size, and a form not sized yet has none to take it off: size it first.
inline void SetFormClientSize(TForm* form, int width, int height) {
    form->SetBounds(form->Left(), form->Top(), width * 2, height * 2);
    form->SetClientWidth(width);
    form->SetClientHeight(height);
}
