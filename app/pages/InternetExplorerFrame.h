#pragma once
// The Internet Explorer page: its 11 items and the two keep dialogs.
#include "app/pages/ItemFrame.h"

class TTInternetExplorer : public TItemFrame {
public:
    explicit TTInternetExplorer(TComponent* owner);

    TButton* btnKeepCookies;
    TButton* btnKeepURLs;
    // Give the keep dialog its eraser and show it; the modal result is not used.
    void btnKeepCookiesClick(TObject* Sender);
    void btnKeepURLsClick(TObject* Sender);
    // The keep dialogs edit what a cleaning run uses: not while one goes.
    void RunningChanged(bool running) override;
};
