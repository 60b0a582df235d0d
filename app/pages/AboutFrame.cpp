#include "app/pages/AboutFrame.h"
#include "classlib/gui/PlaceControl.h"

TTAbout::TTAbout(TComponent* owner) : TPageFrame(owner) {
    SetName("TTAbout1");
    using namespace Layout;
    // Centred in the page's width: the icon, the name below it, the version below that.
    constexpr int Width = 600, IconSize = 32;
    constexpr TBounds name{0, 88, Width, 20};
    Image1 =
        Place<TImage>(this, this, "Image1", "", {(Width - IconSize) / 2, 40, IconSize, IconSize});
    TBitmap& picture = Image1->Picture();
    picture.SetSize(32, 32);
    picture.Canvas().Brush().SetColor(clBtnFace);
    picture.Canvas().FillRect({0, 0, 32, 32});
    DrawIconEx(picture.Canvas().Handle(), 0, 0, LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"),
               32, 32, 0, nullptr, DI_NORMAL);
    labAppName = Place<TLabel>(this, this, "labAppName", "  Tarnwhistle", name);
    labAppName->SetAutoSize(false);
    labAppName->SetAlignment(taCenter);
    labAppName->Font().SetStyle(fsBold);
    labVersion = Place<TLabel>(this, this, "labVersion", "1.0", name.Below(4, LabelHeight));
    labVersion->SetAutoSize(false);
    labVersion->SetAlignment(taCenter);
}
