#pragma once
// Building forms in code: one call per control with its name, caption and bounds.
#include "classlib/gui/Form.h"
#include <string>

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char* name, const std::string& caption,
         int left, int top, int width, int height) {
    auto control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    control->SetCaption(caption);
    control->SetBounds(left, top, width, height);
    return control;
}

// Sizes a form's client area. The class library takes the frame off the form's
// current size, and a form not sized yet has none to take it off: size it first.
inline void SetFormClientSize(TForm* form, int width, int height) {
    form->SetBounds(form->Left(), form->Top(), width * 2, height * 2);
    form->SetClientWidth(width);
    form->SetClientHeight(height);
}
