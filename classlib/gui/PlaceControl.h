#pragma once
// Building forms in code: one call per control with its name, caption and bounds.
#include "classlib/gui/Controls.h"
#include "classlib/gui/Layout.h"
#include "classlib/gui/PageControl.h"
#include "classlib/gui/WinControl.h"
#include <string>

// bounds are in layout units.
inline void SetLayoutBounds(TControl* control, const TBounds& bounds) {
    const TBounds pixels = ToPixels(bounds);
    control->SetBounds(pixels.Left, pixels.Top, pixels.Width, pixels.Height);
}

// A form's client area; width and height are in layout units.
inline void SetLayoutClientSize(TControl* form, int width, int height) {
    const TBounds pixels = ToPixels({0, 0, width, height});
    form->SetClientWidth(pixels.Width);
    form->SetClientHeight(pixels.Height);
}

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char* name, const std::string& caption,
         const TBounds& bounds) {
    auto control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    control->SetCaption(caption);
    SetLayoutBounds(control, bounds);
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
