#include "app/pages/AboutFrame.h"
#include "classlib/gui/PlaceControl.h"

TTAbout::TTAbout(TComponent* owner) : TPageFrame(owner) {
    SetName("TTAbout1");
    Image1 = Place<TImage>(this, this, "Image1", "", 284, 40, 32, 32);
    TBitmap& picture = Image1->Picture();
    picture.SetSize(32, 32);
    picture.Canvas().Brush().SetColor(clBtnFace);
    picture.Canvas().FillRect({0, 0, 32, 32});
    DrawIconEx(picture.Canvas().Handle(), 0, 0, LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"),
               32, 32, 0, nullptr, DI_NORMAL);
    labAppName = Place<TLabel>(this, this, "labAppName", "  Tarnwhistle", 0, 88, 600, 20);
    labAppName->SetAutoSize(false);
    labAppName->SetAlignment(taCenter);
    labAppName->Font().SetStyle(fsBold);
    labVersion = Place<TLabel>(this, this, "labVersion", "1.0", 0, 112, 600, 15);
    labVersion->SetAutoSize(false);
    labVersion->SetAlignment(taCenter);
}
