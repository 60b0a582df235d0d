#include "app/pages/InternetExplorerSettingsFrame.h"
#include "app/EditIEAutoFindForm.h"
#include "app/MessageBoxes.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Dialogs.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"

namespace {

constexpr int GroupWidth = 584, LabelLeft = 16, EditLeft = 100, EditWidth = 370, ButtonLeft = 480;

} // namespace

TTinternetExplorerSettings::TTinternetExplorerSettings(TComponent* owner) : TPageFrame(owner) {
    SetName("TTinternetExplorerSettings1");
    BuildHomePage();
    BuildAutoComplete();
    BuildPaths();
    BuildProtection();
    btnSaveSettings = Place<TButton>(this, this, "btnSaveSettings", "&Save", 386, 468, 100, 25);
    btnSaveSettings->OnClick = [this](TObject* sender) { btnSaveSettingsClick(sender); };
    btnRefreshSettings =
        Place<TButton>(this, this, "btnRefreshSettings", "Refresh", 492, 468, 100, 25);
    btnRefreshSettings->OnClick = [this](TObject*) { LoadSettings(); };
}

void TTinternetExplorerSettings::BuildHomePage() {
    grpInternetExplorerHomePage =
        Place<TGroupBox>(this, this, "grpInternetExplorerHomePage", " Internet Explorer Home Page ",
                         8, 4, GroupWidth, 80);
    TGroupBox* group = grpInternetExplorerHomePage;
    lblTitle = Place<TLabel>(this, group, "lblTitle", "Title:", LabelLeft, 24, 80, 15);
    edTitle = Place<TEdit>(this, group, "edTitle", "", EditLeft, 20, EditWidth, 21);
    btnRestore = Place<TButton>(this, group, "btnRestore", "&Restore", ButtonLeft, 18, 90, 25);
    btnRestore->OnClick = [this](TObject*) { edTitle->SetText("Microsoft Internet Explorer"); };
    lblStartPage = Place<TLabel>(this, group, "lblStartPage", "Start Page:", LabelLeft, 52, 80, 15);
    edStartPage = Place<TEdit>(this, group, "edStartPage", "", EditLeft, 48, EditWidth, 21);
    btnBlankPage =
        Place<TButton>(this, group, "btnBlankPage", "&Blank Page", ButtonLeft, 46, 90, 25);
    btnBlankPage->OnClick = [this](TObject*) { edStartPage->SetText("about:blank"); };
}

void TTinternetExplorerSettings::BuildAutoComplete() {
    grpAutoComplete = Place<TGroupBox>(this, this, "grpAutoComplete",
                                       " Internet Explorer  Auto Complete  ", 8, 88, 440, 70);
    TGroupBox* group = grpAutoComplete;
    chkAutoSuggest =
        Place<TCheckBox>(this, group, "chkAutoSuggest", "Auto Suggest", LabelLeft, 20, 200, 17);
    chkAutoSavePassword = Place<TCheckBox>(this, group, "chkAutoSavePassword", "Auto Save Password",
                                           220, 20, 200, 17);
    chkAutoSavePassword->OnClick = [this](TObject*) {
        chkSavePasswordAsk->SetEnabled(chkAutoSavePassword->Checked());
    };
    chkUseFormSuggest = Place<TCheckBox>(this, group, "chkUseFormSuggest", "Use FormSuggest",
                                         LabelLeft, 44, 200, 17);
    chkSavePasswordAsk =
        Place<TCheckBox>(this, group, "chkSavePasswordAsk", "Save Password Ask", 220, 44, 200, 17);
    grpAutoFind = Place<TGroupBox>(this, this, "grpAutoFind", " Auto Find ", 456, 88, 136, 70);
    btnEditAutoFind =
        Place<TButton>(this, grpAutoFind, "btnEditAutoFind", "Edit AutoFind", 16, 26, 104, 25);
    btnEditAutoFind->OnClick = [this](TObject*) { btnEditAutoFindClick(); };
}

TEdit* TTinternetExplorerSettings::AddPathRow(const char* name, const char* caption, int row,
                                              TLabel*& label, TButton*& browse) {
    TGroupBox* group = grpInternetExplorerPaths;
    const int top = 20 + row * 28;
    const std::string edit = std::string("ed") + name, button = std::string("btn") + name;
    label = Place<TLabel>(this, group, (std::string("lbl") + name).c_str(), caption, LabelLeft,
                          top + 4, 80, 15);
    auto ed = Place<TEdit>(this, group, edit.c_str(), "", EditLeft, top, EditWidth, 21);
    browse = Place<TButton>(this, group, button.c_str(), "...", ButtonLeft, top - 1, 30, 23);
    browse->OnClick = [this, ed](TObject*) { BrowseFolder(ed); };
    return ed;
}

void TTinternetExplorerSettings::BuildPaths() {
    grpInternetExplorerPaths =
        Place<TGroupBox>(this, this, "grpInternetExplorerPaths", " Internet Explorer Paths ", 8,
                         162, GroupWidth, 192);
    edCache = AddPathRow("Cache", "Cache:", 0, lblCache, btnCache);
    edCookies = AddPathRow("Cookies", "Cookies:", 1, lblCookies, btnCookies);
    edHistory = AddPathRow("History", "History:", 2, lblHistory, btnHistory);
    edFavorites = AddPathRow("Favorites", "Favorites:", 3, lblFavorites, btnFavorites);
    edSave = AddPathRow("Save", "Save:", 4, lblSave, btnSave);
    edDownload = AddPathRow("Download", "Download:", 5, lblDownload, btnDownload);
}

void TTinternetExplorerSettings::BuildProtection() {
    grpStartPageProtection = Place<TGroupBox>(this, this, "grpStartPageProtection",
                                              "Start Page Protection", 8, 358, GroupWidth, 76);
    TGroupBox* group = grpStartPageProtection;
    chkProtectStartPage =
        Place<TCheckBox>(this, group, "chkProtectStartPage", "Protect Start Page from hijackers",
                         LabelLeft, 20, 300, 17);
    lblResetStartPageTo =
        Place<TLabel>(this, group, "lblResetStartPageTo", "Reset to:", LabelLeft, 48, 80, 15);
    edResetStartPageTo =
        Place<TEdit>(this, group, "edResetStartPageTo", "", EditLeft, 44, EditWidth, 21);
}

void TTinternetExplorerSettings::LoadSettings() {
    TMisc& misc = *Engine->Misc;
    misc.ReadIESettings();
    const TIESettings& ie = misc.IESettings;
    edTitle->SetText(ie.WindowTitle);
    edStartPage->SetText(ie.StartPage);
    chkProtectStartPage->SetChecked(misc.ProtectStartPage);
    edResetStartPageTo->SetText(misc.ResetStartPageTo);
    chkAutoSuggest->SetChecked(ie.AutoSuggest);
    chkAutoSavePassword->SetChecked(ie.FormSuggestPasswords);
    chkSavePasswordAsk->SetEnabled(chkAutoSavePassword->Checked());
    chkUseFormSuggest->SetChecked(ie.UseFormSuggest);
    chkSavePasswordAsk->SetChecked(ie.FormSuggestPWAsk);
    edCache->SetText(ie.Cache);
    edCookies->SetText(ie.Cookies);
    edHistory->SetText(ie.History);
    edFavorites->SetText(ie.Favorites);
    edSave->SetText(ie.SaveDirectory);
    edDownload->SetText(ie.DownloadDirectory);
}

void TTinternetExplorerSettings::btnSaveSettingsClick(TObject*) {
    // Protection would write an empty start page every three seconds.
    if (chkProtectStartPage->Checked() && Trim(edResetStartPageTo->Text()).empty()) {
        ShowError("Please enter the start page that protection resets to.");
        if (edResetStartPageTo->CanFocus()) edResetStartPageTo->SetFocus();
        return;
    }
    TMisc& misc = *Engine->Misc;
    TIESettings& ie = misc.IESettings;
    ie.WindowTitle = edTitle->Text();
    ie.StartPage = edStartPage->Text();
    ie.AutoSuggest = chkAutoSuggest->Checked();
    ie.FormSuggestPasswords = chkAutoSavePassword->Checked();
    ie.UseFormSuggest = chkUseFormSuggest->Checked();
    ie.FormSuggestPWAsk = chkSavePasswordAsk->Checked();
    ie.Cache = edCache->Text();
    ie.Cookies = edCookies->Text();
    ie.History = edHistory->Text();
    ie.Favorites = edFavorites->Text();
    ie.SaveDirectory = edSave->Text();
    ie.DownloadDirectory = edDownload->Text();
    misc.ProtectStartPage = chkProtectStartPage->Checked();
    misc.ResetStartPageTo = edResetStartPageTo->Text();
    const std::vector<std::string> failures = misc.WriteIESettings();
    if (failures.empty()) return;
    std::string text = "These Internet Explorer settings could not be read or saved:";
    for (const std::string& line : failures)
        text += "\n" + line;
    ShowError(text);
}

void TTinternetExplorerSettings::BrowseFolder(TEdit* edit) {
    const std::string folder = BrowseForFolder("Select Folder", edit->Text());
    if (!folder.empty()) edit->SetText(folder);
}

// The dialog writes the list itself on OK.
void TTinternetExplorerSettings::btnEditAutoFindClick() {
    fEditIEAutoFind->AutoFindList = &Engine->Misc->IESettings.UrlTemplates;
    fEditIEAutoFind->ShowModal();
}
