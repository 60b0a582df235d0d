#include "app/pages/OptionsFrame.h"
#include "app/MessageBoxes.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"

using namespace Layout;

namespace {

// Check boxes, and labels before edits, from the groups' left.
constexpr int InnerLeft = 16, BoxWidth = 300;
constexpr TBounds OptionsGroup{Margin, Margin, PageContentWidth, 130};
constexpr TTrack OptionRows{22, CheckHeight, 9}, PasswordRows{50, EditHeight, 9};

constexpr TBounds PasswordLabel(int row) {
    return {InnerLeft, PasswordRows.At(row) + LabelDrop, 120, LabelHeight};
}

constexpr TBounds PasswordEdit(int row) {
    return {140, PasswordRows.At(row), 220, EditHeight};
}

} // namespace

TTOptions::TTOptions(TComponent* owner) : TPageFrame(owner) {
    SetName("TTOptions1");
    grpOptions = Place<TGroupBox>(this, this, "grpOptions", " Options ", OptionsGroup);
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

    grpPassword =
        Place<TGroupBox>(this, this, "grpPassword", " Password ", OptionsGroup.Below(Margin, 140));
    chkPassword =
        Place<TCheckBox>(this, grpPassword, "chkPassword", "Protect application by password",
                         {InnerLeft, 22, BoxWidth, CheckHeight});
    chkPassword->OnClick = [this](TObject* sender) { chkPasswordClick(sender); };
    lblPassword = Place<TLabel>(this, grpPassword, "lblPassword", "Password:", PasswordLabel(0));
    edPassword = Place<TEdit>(this, grpPassword, "edPassword", "", PasswordEdit(0));
    lblConfirmPassword = Place<TLabel>(this, grpPassword, "lblConfirmPassword",
                                       "Confirm Password:", PasswordLabel(1));
    edConfirmPassword = Place<TEdit>(this, grpPassword, "edConfirmPassword", "", PasswordEdit(1));
    for (TEdit* edit : {edPassword, edConfirmPassword}) {
        edit->SetPasswordChar('#');
        edit->OnChange = [this](TObject*) { cmdApplyPassword->SetEnabled(true); };
    }
    cmdApplyPassword =
        Place<TButton>(this, grpPassword, "cmdApplyPassword", "&Apply",
                       {PasswordEdit(1).Right() + 10, PasswordRows.At(1) - 2, 90, ButtonHeight});
    cmdApplyPassword->OnClick = [this](TObject* sender) { cmdApplyPasswordClick(sender); };
}

TCheckBox* TTOptions::AddOption(const char* name, const char* caption, int row,
                                std::function<void(bool)> write) {
    auto box = Place<TCheckBox>(this, grpOptions, name, caption,
                                {InnerLeft, OptionRows.At(row), BoxWidth, CheckHeight});
    box->OnClick = [box, write](TObject*) { write(box->Checked()); };
    return box;
}

void TTOptions::LoadAtStartupClick(bool on) {
    if (Engine->SetLoadAtStartup(on)) return;
    ShowError(on ? TEraserEngine::LoadAtStartupFailed
                 : "The program could not be kept from loading at Windows startup: its value "
                   "under the registry's \"Run\" key cannot be removed.");
    ShowLoadAtStartup();
}

void TTOptions::ShowLoadAtStartup() {
    chkLoadAtStartup->SetChecked(Engine->GetLoadAtStartup());
}

void TTOptions::LoadSettings() {
    ShowLoadAtStartup();
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
