#include "app/NormalMode.h"
#include "app/CleanMethodSelectorForm.h"
#include "app/EditIEAutoFindForm.h"
#include "app/EditMethodForm.h"
#include "app/EditPasswordManagerForm.h"
#include "app/EnterPasswordForm.h"
#include "app/KeepCookiesForm.h"
#include "app/KeepTypedURLsForm.h"
#include "app/MainForm.h"
#include "app/MethodsForm.h"
#include "classlib/gui/Application.h"
#include "skin/SkinManage.h"
#include <memory>

TMem* Mem = nullptr;

namespace {

// The application frees its forms here, before the units' finalisations run.
void FreeForms() {
    while (Application->ComponentCount() > 0)
        delete Application->Components(Application->ComponentCount() - 1);
}

// The main window is skinned before it first shows: it appears once, as it stays,
// instead of natively framed and then skinned, resized and repainted.
void SkinMainWindowEarly() {
    TSkinManage* skin = SkinManager();
    if (skin && Application->ShowMainForm && !Application->Terminated())
        skin->SkinBeforeShown(fMain->Handle());
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
        fEditIEAutoFind = Application->CreateForm<TfEditIEAutoFind>();
        fEditMethod = Application->CreateForm<TfEditMethod>();
        fMethodsForm = Application->CreateForm<TfMethodsForm>();
        fKeepTypedURLs = Application->CreateForm<TfKeepTypedURLs>();
        fEditPasswordManager = Application->CreateForm<TfEditPasswordManager>();
        fEnterPassword = Application->CreateForm<TfEnterPassword>();
        fCleanMethodSelector = Application->CreateForm<TfCleanMethodSelector>();
        SkinMainWindowEarly();
        Application->Run();
    } catch (...) {
        FreeForms();
        Mem = nullptr;
        throw;
    }
    FreeForms();
    Mem = nullptr;
}
