#include "classlib/gui/Layout.h"

// The forms are drawn for 96 DPI, where a layout unit is a pixel; scaling for other
// displays belongs here.
TBounds ToPixels(const TBounds& units) {
    return units;
}
