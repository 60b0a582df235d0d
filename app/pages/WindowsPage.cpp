#include "app/pages/WindowsPage.h"
#include "classlib/gui/PlaceControl.h"

const char* const RebootNote = "(*) This item requires rebooting to complete cleaning.";

TWindowsPage::TWindowsPage(TComponent* owner) : TPageFrame(owner) {
    SetName("WindowsPage");
    TTWindowsFrame1 = new TTWindowsFrame(this);
    TTWindowsFrame1->SetParent(this);
    TTWindowsFrame1->SetBounds(4, 4, 470, 480);
    cmdWindowsDefault = Place<TButton>(this, this, "cmdWindowsDefault", "Default", 490, 8, 120, 27);
    cmdWindowsDefault->OnClick = [this](TObject*) {
        TTWindowsFrame1->SetDefaults();
        TTWindowsFrame1->LoadSettings();
    };
    Button4 = Place<TButton>(this, this, "Button4", "Internet Browsers", 490, 42, 120, 27);
    StaticText1 = Place<TLabel>(this, this, "StaticText1", RebootNote, 12, 500, 400, 15);
}

void TWindowsPage::SetEngine(TEraserEngine* engine) {
    TPageFrame::SetEngine(engine);
    TTWindowsFrame1->SetEngine(engine);
}

void TWindowsPage::SetDefaults() {
    TTWindowsFrame1->SetDefaults();
}

void TWindowsPage::LoadSettings() {
    TTWindowsFrame1->LoadSettings();
}
