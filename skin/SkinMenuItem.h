#pragma once
// Owner drawing of the items of a form's popup menus from the skin's "MenuItem"
// element, on the background the skinned popup frame captured. Main thread.
#include <windows.h>

class TComponent;
class TSkinData;

// Every popup menu the form owns (at any depth) is drawn from the skin, unless its
// Tag mod 100 is the data's DisableTag; with data nullptr they draw natively again.
// A right-to-left form's menus are mirrored.
void SkinFormPopupMenus(TComponent* form, TSkinData* data, bool rightToLeft = false);
// The same for the dropped items of the form's main menus.
void SkinFormMainMenus(TComponent* form, TSkinData* data, bool rightToLeft = false);

// Every item of the menu, at any depth, is drawn by its owner window from now on, or
// by the system again.
void SetMenuOwnerDrawn(HMENU menu, bool ownerDrawn);
// A native item of the popup (found by its id at any depth) measured from its text.
void MeasureNativeMenuItem(TSkinData& data, HMENU popup, MEASUREITEMSTRUCT& measure);
// A native menu item drawn from the skin, as the class library's items are.
void DrawNativeMenuItem(TSkinData& data, const DRAWITEMSTRUCT& draw, bool rightToLeft);
