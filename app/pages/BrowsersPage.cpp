#include "app/pages/BrowsersPage.h"
#include "app/pages/WindowsPage.h"
#include "classlib/gui/PlaceControl.h"

using namespace Layout;

namespace {

// An item page on its sheet, with its "Default" button beside it.
constexpr TBounds ItemsFrame{4, 4, 456, 400};

template <class T> T* AddItems(TComponent* owner, TTabSheet* sheet) {
    auto frame = new T(owner);
    frame->SetParent(sheet);
    SetLayoutBounds(frame, ItemsFrame);
    return frame;
}

TButton* AddDefault(TComponent* owner, TTabSheet* sheet, const char* name, TItemFrame* frame) {
    auto button = Place<TButton>(owner, sheet, name, "Default",
                                 {ItemsFrame.Right() + 6, Margin, 120, TallButtonHeight});
    button->OnClick = [frame](TObject*) {
        frame->SetDefaults();
        frame->LoadSettings();
    };
    return button;
}

} // namespace

TBrowsersPage::TBrowsersPage(TComponent* owner) : TPageFrame(owner) {
    SetName("BrowsersPage");
    const TBounds pages{4, 4, PageClientWidth - 8, 440};
    pagBrowsers = Place<TPageControl>(this, this, "pagBrowsers", "", pages);
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
    const TBounds windows{pages.Left, pages.Bottom() + Margin, 120, TallButtonHeight};
    Button1 = Place<TButton>(this, this, "Button1", "Windows", windows);
    Button2 =
        Place<TButton>(this, this, "Button2", "Windows",
                       {windows.Right() + Margin, windows.Top, windows.Width, windows.Height});
    Button2->SetVisible(false);
    StaticText2 = Place<TLabel>(this, this, "StaticText2", RebootNote,
                                {12, windows.Bottom() + 13, 400, LabelHeight});
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
