#pragma once
// Building forms in code: one call per control with its name, caption and bounds.
#include "classlib/gui/Controls.h"
#include "classlib/gui/PageControl.h"
#include "classlib/gui/WinControl.h"
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

// A new last sheet of the page control.
inline TTabSheet* PlaceSheet(TComponent* owner, TPageControl* pages, const char* name,
                             const std::string& caption) {
    auto sheet = new TTabSheet(owner);
    sheet->SetName(name);
    sheet->SetCaption(caption);
    sheet->SetPageControl(pages);
    return sheet;
}
