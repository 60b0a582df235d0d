#include "app/pages/OptionsFrame.h"
#include "app/MessageBoxes.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"

TTOptions::TTOptions(TComponent* owner) : TPageFrame(owner) {
    SetName("TTOptions1");
    grpOptions = Place<TGroupBox>(this, this, "grpOptions", " Options ", 8, 8, 584, 130);
    chkLoadAtStartup = AddOption("chkLoadAtStartup", "Load At Windows Startup", 0,
                                 [this](bool on) { LoadAtStartupClick(on); });
    chkStartInSystemTray = AddOption("chkStartInSystemTray", "Start in System Tray", 1,
                                     [this](bool on) { Engine->StartInSystemTray = on; });
    chkAutoCleanWhenWindowsStart =
        AddOption("chkAutoCleanWhenWindowsStart", "Auto Clean when Windows Starts", 2,
                  [this](bool on) { Engine->AutoCleanAtWindowsStart = on; });
    chkAutoCleanWhenWindowsShutdown =
        AddOption("chkAutoCleanWhenWindowsShutdown", "Auto Clean when Windows Shutdown", 3,
                  [this](bool on) { Engine->AutoCleanAtWindowsShutdown = on; });

    grpPassword = Place<TGroupBox>(this, this, "grpPassword", " Password ", 8, 146, 584, 140);
    chkPassword = Place<TCheckBox>(this, grpPassword, "chkPassword",
                                   "Protect application by password", 16, 22, 300, 17);
    chkPassword->OnClick = [this](TObject* sender) { chkPasswordClick(sender); };
    lblPassword = Place<TLabel>(this, grpPassword, "lblPassword", "Password:", 16, 54, 120, 15);
    edPassword = Place<TEdit>(this, grpPassword, "edPassword", "", 140, 50, 220, 21);
    lblConfirmPassword = Place<TLabel>(this, grpPassword, "lblConfirmPassword",
                                       "Confirm Password:", 16, 84, 120, 15);
    edConfirmPassword = Place<TEdit>(this, grpPassword, "edConfirmPassword", "", 140, 80, 220, 21);
    for (TEdit* edit : {edPassword, edConfirmPassword}) {
        edit->SetPasswordChar('#');
        edit->OnChange = [this](TObject*) { cmdApplyPassword->SetEnabled(true); };
    }
    cmdApplyPassword =
        Place<TButton>(this, grpPassword, "cmdApplyPassword", "&Apply", 370, 78, 90, 25);
    cmdApplyPassword->OnClick = [this](TObject* sender) { cmdApplyPasswordClick(sender); };
}

TCheckBox* TTOptions::AddOption(const char* name, const char* caption, int row,
                                std::function<void(bool)> write) {
    auto box = Place<TCheckBox>(this, grpOptions, name, caption, 16, 22 + row * 26, 300, 17);
    box->OnClick = [box, write](TObject*) { write(box->Checked()); };
    return box;
}

void TTOptions::LoadAtStartupClick(bool on) {
    if (Engine->SetLoadAtStartup(on)) return;
    ShowError(on ? TEraserEngine::LoadAtStartupFailed
                 : "The program could not be kept from loading at Windows startup: its value "
                   "under the registry's \"Run\" key cannot be removed.");
    chkLoadAtStartup->SetChecked(Engine->GetLoadAtStartup());
}

void TTOptions::LoadSettings() {
    chkLoadAtStartup->SetChecked(Engine->GetLoadAtStartup());
    chkStartInSystemTray->SetChecked(Engine->StartInSystemTray);
    chkAutoCleanWhenWindowsStart->SetChecked(Engine->AutoCleanAtWindowsStart);
    chkAutoCleanWhenWindowsShutdown->SetChecked(Engine->AutoCleanAtWindowsShutdown);
    const std::string& password = Engine->AccessPassword;
    chkPassword->SetChecked(!password.empty());
    edPassword->SetText(password);
    edConfirmPassword->SetText(password);
    chkPasswordClick(chkPassword);
    cmdApplyPassword->SetEnabled(false);
}

void TTOptions::chkPasswordClick(TObject*) {
    const bool on = chkPassword->Checked();
    edPassword->SetEnabled(on);
    edConfirmPassword->SetEnabled(on);
    if (!on) {
        edPassword->SetText("");
        edConfirmPassword->SetText("");
    }
    cmdApplyPassword->SetEnabled(true);
}

void TTOptions::cmdApplyPasswordClick(TObject*) {
    const std::string password = edPassword->Text();
    if (password != edConfirmPassword->Text()) {
        ShowError("Password do not match. Please enter the password again.");
        return;
    }
    if (chkPassword->Checked() && Trim(password).empty()) {
        ShowError("Please enter a password.");
        return;
    }
    Engine->AccessPassword = chkPassword->Checked() ? password : "";
    cmdApplyPassword->SetEnabled(false);
}
