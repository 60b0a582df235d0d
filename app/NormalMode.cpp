#include "app/NormalMode.h"
#include "app/CleanMethodSelectorForm.h"
#include "app/EditMethodForm.h"
#include "app/EnterPasswordForm.h"
#include "app/KeepCookiesForm.h"
#include "app/KeepTypedURLsForm.h"
#include "app/MainForm.h"
#include "app/MethodsForm.h"
#include "classlib/gui/Application.h"
#include <memory>

TMem* Mem = nullptr;

namespace {

// The application frees its forms here, before the units' finalisations run.
void FreeForms() {
    while (Application->ComponentCount() > 0)
        delete Application->Components(Application->ComponentCount() - 1);
}

} // namespace

void RunNormalMode() {
    auto mem = std::make_unique<TMem>();
    Mem = mem.get();
    try {
        // The first form becomes the main form; its creation may already have asked
        // the application to end (another instance, a refused password).
        fMain = Application->CreateForm<TfMain>();
        fKeepCookie = Application->CreateForm<TfKeepCookie>();
        fEditMethod = Application->CreateForm<TfEditMethod>();
        fMethodsForm = Application->CreateForm<TfMethodsForm>();
        fKeepTypedURLs = Application->CreateForm<TfKeepTypedURLs>();
        fEnterPassword = Application->CreateForm<TfEnterPassword>();
        fCleanMethodSelector = Application->CreateForm<TfCleanMethodSelector>();
        Application->Run();
    } catch (...) {
        FreeForms();
        Mem = nullptr;
        throw;
    }
    FreeForms();
    Mem = nullptr;
}
