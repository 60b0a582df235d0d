#pragma once
// Owner drawing of the items of a form's popup menus from the skin's "MenuItem"
// element, on the background the skinned popup frame captured. Main thread.
class TComponent;
class TSkinData;

// Every popup menu the form owns (at any depth) is drawn from the skin, unless its
// Tag mod 100 is the data's DisableTag; with data nullptr they draw natively again.
void SkinFormPopupMenus(TComponent* form, TSkinData* data);
