#include "app/pages/WindowsPage.h"
#include "classlib/gui/PlaceControl.h"

const char* const RebootNote = "(*) This item requires rebooting to complete cleaning.";

TWindowsPage::TWindowsPage(TComponent* owner) : TPageFrame(owner) {
    SetName("WindowsPage");
    TTWindowsFrame1 = new TTWindowsFrame(this);
    TTWindowsFrame1->SetParent(this);
    using namespace Layout;
    // The items, the buttons beside them, the note below them.
    constexpr TBounds items{4, 4, 470, 480};
    constexpr TGrid buttons = Down(items.Right() + 16, Margin, 120, TallButtonHeight, 7);
    SetLayoutBounds(TTWindowsFrame1, items);
    cmdWindowsDefault =
        Place<TButton>(this, this, "cmdWindowsDefault", "Default", buttons.Cell(0, 0));
    cmdWindowsDefault->OnClick = [this](TObject*) {
        TTWindowsFrame1->SetDefaults();
        TTWindowsFrame1->LoadSettings();
    };
    Button4 = Place<TButton>(this, this, "Button4", "Internet Browsers", buttons.Cell(0, 1));
    Button3 = Place<TButton>(this, this, "Button3", "Intenet Browsers", buttons.Cell(0, 2));
    Button3->SetVisible(false);
    StaticText1 = Place<TLabel>(this, this, "StaticText1", RebootNote,
                                {12, items.Bottom() + 16, 400, LabelHeight});
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
