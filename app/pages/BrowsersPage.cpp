#include "app/pages/BrowsersPage.h"
#include "app/pages/WindowsPage.h"
#include "classlib/gui/PlaceControl.h"

namespace {

// An item page on its sheet, with its "Default" button beside it.
template <class T> T* AddItems(TComponent* owner, TTabSheet* sheet) {
    auto frame = new T(owner);
    frame->SetParent(sheet);
    frame->SetBounds(4, 4, 456, 400);
    return frame;
}

TButton* AddDefault(TComponent* owner, TTabSheet* sheet, const char* name, TItemFrame* frame) {
    auto button = Place<TButton>(owner, sheet, name, "Default", 466, 8, 120, 27);
    button->OnClick = [frame](TObject*) {
        frame->SetDefaults();
        frame->LoadSettings();
    };
    return button;
}

} // namespace

TBrowsersPage::TBrowsersPage(TComponent* owner) : TPageFrame(owner) {
    SetName("BrowsersPage");
    pagBrowsers =
        Place<TPageControl>(this, this, "pagBrowsers", "", 4, 4, PageClientWidth - 8, 440);
    tabIE = PlaceSheet(this, pagBrowsers, "tabIE", "Internet Explorer");
    tabNetscapeMozilla = PlaceSheet(this, pagBrowsers, "tabNetscapeMozilla", "Netscape/Mozilla");
    tabOpera = PlaceSheet(this, pagBrowsers, "tabOpera", "Opera");
    tabAOL = PlaceSheet(this, pagBrowsers, "tabAOL", "AOL");
    TTInternetExplorer1 = AddItems<TTInternetExplorer>(this, tabIE);
    TTNetscapeMozilla1 = AddItems<TTNetscapeMozilla>(this, tabNetscapeMozilla);
    TTOpera1 = AddItems<TTOpera>(this, tabOpera);
    TTAOL1 = AddItems<TTAOL>(this, tabAOL);
    cmdIEDefault = AddDefault(this, tabIE, "cmdIEDefault", TTInternetExplorer1);
    cmdNetscapeDefault =
        AddDefault(this, tabNetscapeMozilla, "cmdNetscapeDefault", TTNetscapeMozilla1);
    cmdOperaDefault = AddDefault(this, tabOpera, "cmdOperaDefault", TTOpera1);
    cmdAOLDefault = AddDefault(this, tabAOL, "cmdAOLDefault", TTAOL1);
    Button1 = Place<TButton>(this, this, "Button1", "Windows", 4, 452, 120, 27);
    StaticText2 = Place<TLabel>(this, this, "StaticText2", RebootNote, 12, 492, 400, 15);
}

std::vector<TItemFrame*> TBrowsersPage::ItemFrames() const {
    return {TTInternetExplorer1, TTNetscapeMozilla1, TTOpera1, TTAOL1};
}

void TBrowsersPage::SetEngine(TEraserEngine* engine) {
    TPageFrame::SetEngine(engine);
    for (TItemFrame* frame : ItemFrames())
        frame->SetEngine(engine);
}

void TBrowsersPage::SetDefaults() {
    for (TItemFrame* frame : ItemFrames())
        frame->SetDefaults();
}

void TBrowsersPage::LoadSettings() {
    for (TItemFrame* frame : ItemFrames())
        frame->LoadSettings();
}

void TBrowsersPage::RunningChanged(bool running) {
    TTInternetExplorer1->RunningChanged(running);
}
