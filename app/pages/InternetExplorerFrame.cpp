#include "app/pages/InternetExplorerFrame.h"
#include "app/KeepCookiesForm.h"
#include "app/KeepTypedURLsForm.h"
#include "classlib/gui/PlaceControl.h"

TTInternetExplorer::TTInternetExplorer(TComponent* owner)
    : TItemFrame(
          owner,
          {
              {"chkEraseCache", "Erase Cache", ciIEEraseCache, true, true},
              {"chkEraseHistory", "Erase History", ciIEEraseHistory, true, true},
              {"chkEraseCookies", "Erase Cookies", ciIEEraseCookies, true, false},
              {"chkEraseLocationBarURLs", "Erase Location Bar URLs", ciIEEraseLocationBarURLs, true,
               false, true},
              {"chkEraseTypedURLs", "Erase Typed URLs", ciIEEraseTypedURLs, true, true},
              {"chkEraseIndexDAT", "Erase Index.dat", ciIEEraseIndexDAT, false, true},
              {"chkEraseAutoCompleteFormsData", "Erase Auto Complete Forms Data",
               ciIEEraseAutoCompleteFormsData, false, true},
              {"chkEraseAutoCompletePaswords", "Erase Auto Complete Passwords",
               ciIEEraseAutoCompletePaswords, true, true},
              {"chkEraseDownloadedProgramFilesDirectory",
               "Erase Downloaded Program Files Directory", ciIEEraseDownloadedProgramFilesDirectory,
               false, true},
              {"chkEraseFavorites", "Erase Favorites", ciIEEraseFavorites, false, true},
              {"chkEraseURLErrorLogs", "Erase URL Error Logs", ciIEEraseURLErrorLogs, false, true},
          }) {
    SetName("TTInternetExplorer1");
    // In the row of "&Select All" and "&Remove All", as far apart as those two.
    const TBounds keepCookies = Button(1).After(ButtonSpacing, 100);
    btnKeepCookies = Place<TButton>(this, this, "btnKeepCookies", "Keep Cookies", keepCookies);
    btnKeepCookies->OnClick = [this](TObject* sender) { btnKeepCookiesClick(sender); };
    btnKeepURLs = Place<TButton>(this, this, "btnKeepURLs", "Keep Typed URLs",
                                 keepCookies.After(ButtonSpacing, 110));
    btnKeepURLs->OnClick = [this](TObject* sender) { btnKeepURLsClick(sender); };
}

void TTInternetExplorer::btnKeepCookiesClick(TObject*) {
    fKeepCookie->Eraser = &Engine->FileItem(ciIEEraseCookies);
    fKeepCookie->ShowModal();
}

void TTInternetExplorer::btnKeepURLsClick(TObject*) {
    fKeepTypedURLs->Eraser = &Engine->RegistryItem(ciIEEraseTypedURLs);
    fKeepTypedURLs->ShowModal();
}

void TTInternetExplorer::RunningChanged(bool running) {
    btnKeepCookies->SetEnabled(!running);
    btnKeepURLs->SetEnabled(!running);
    if (fKeepCookie) fKeepCookie->RunningChanged(running);
    if (fKeepTypedURLs) fKeepTypedURLs->RunningChanged(running);
}
