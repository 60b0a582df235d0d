#include "app/pages/InternetExplorerSettingsFrame.h"
#include "app/EditIEAutoFindForm.h"
#include "app/MessageBoxes.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Dialogs.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"

using namespace Layout;

namespace {

// The groups one below another, "Auto Find" beside "Auto Complete".
constexpr int GroupGap = 4;
constexpr TBounds HomePageGroup{Margin, 4, PageContentWidth, 80};
constexpr TBounds AutoCompleteGroup{Margin, HomePageGroup.Bottom() + GroupGap, 440, 70};
constexpr TBounds AutoFindGroup = AutoCompleteGroup.After(Margin, 136);
constexpr TBounds PathsGroup{Margin, AutoCompleteGroup.Bottom() + GroupGap, PageContentWidth, 192};
constexpr TBounds ProtectionGroup{Margin, PathsGroup.Bottom() + GroupGap, PageContentWidth, 76};

// Inside a group: rows of a label, an edit and a button.
constexpr int LabelLeft = 16, EditLeft = 100, EditWidth = 370, ButtonLeft = 480;
constexpr TTrack Rows{20, EditHeight, 7};

constexpr TBounds LabelAt(int top) {
    return {LabelLeft, top + LabelDrop, 80, LabelHeight};
}

constexpr TBounds EditAt(int top) {
    return {EditLeft, top, EditWidth, EditHeight};
}

} // namespace

TTinternetExplorerSettings::TTinternetExplorerSettings(TComponent* owner) : TPageFrame(owner) {
    SetName("TTinternetExplorerSettings1");
    BuildHomePage();
    BuildAutoComplete();
    BuildPaths();
    BuildProtection();
    const TGrid buttons = PageButtonsAtRight(468, 2);
    btnSaveSettings = Place<TButton>(this, this, "btnSaveSettings", "&Save", buttons.Cell(0, 0));
    btnSaveSettings->OnClick = [this](TObject* sender) { btnSaveSettingsClick(sender); };
    btnRefreshSettings =
        Place<TButton>(this, this, "btnRefreshSettings", "Refresh", buttons.Cell(1, 0));
    btnRefreshSettings->OnClick = [this](TObject*) { LoadSettings(); };
}

void TTinternetExplorerSettings::BuildHomePage() {
    grpInternetExplorerHomePage = Place<TGroupBox>(this, this, "grpInternetExplorerHomePage",
                                                   " Internet Explorer Home Page ", HomePageGroup);
    TGroupBox* group = grpInternetExplorerHomePage;
    lblTitle = Place<TLabel>(this, group, "lblTitle", "Title:", LabelAt(Rows.At(0)));
    edTitle = Place<TEdit>(this, group, "edTitle", "", EditAt(Rows.At(0)));
    btnRestore = Place<TButton>(this, group, "btnRestore", "&Restore",
                                {ButtonLeft, Rows.At(0) - 2, 90, ButtonHeight});
    btnRestore->OnClick = [this](TObject*) { edTitle->SetText("Microsoft Internet Explorer"); };
    lblStartPage = Place<TLabel>(this, group, "lblStartPage", "Start Page:", LabelAt(Rows.At(1)));
    edStartPage = Place<TEdit>(this, group, "edStartPage", "", EditAt(Rows.At(1)));
    btnBlankPage = Place<TButton>(this, group, "btnBlankPage", "&Blank Page",
                                  {ButtonLeft, Rows.At(1) - 2, 90, ButtonHeight});
    btnBlankPage->OnClick = [this](TObject*) { edStartPage->SetText("about:blank"); };
}

void TTinternetExplorerSettings::BuildAutoComplete() {
    grpAutoComplete = Place<TGroupBox>(this, this, "grpAutoComplete",
                                       " Internet Explorer  Auto Complete  ", AutoCompleteGroup);
    TGroupBox* group = grpAutoComplete;
    constexpr TGrid boxes{{LabelLeft, 200, 4}, {Rows.Start, CheckHeight, 7}};
    chkAutoSuggest =
        Place<TCheckBox>(this, group, "chkAutoSuggest", "Auto Suggest", boxes.Cell(0, 0));
    chkAutoSavePassword = Place<TCheckBox>(this, group, "chkAutoSavePassword", "Auto Save Password",
                                           boxes.Cell(1, 0));
    chkAutoSavePassword->OnClick = [this](TObject*) {
        chkSavePasswordAsk->SetEnabled(chkAutoSavePassword->Checked());
    };
    chkUseFormSuggest =
        Place<TCheckBox>(this, group, "chkUseFormSuggest", "Use FormSuggest", boxes.Cell(0, 1));
    chkSavePasswordAsk =
        Place<TCheckBox>(this, group, "chkSavePasswordAsk", "Save Password Ask", boxes.Cell(1, 1));
    grpAutoFind = Place<TGroupBox>(this, this, "grpAutoFind", " Auto Find ", AutoFindGroup);
    btnEditAutoFind = Place<TButton>(this, grpAutoFind, "btnEditAutoFind", "Edit AutoFind",
                                     {16, 26, 104, ButtonHeight});
    btnEditAutoFind->OnClick = [this](TObject*) { btnEditAutoFindClick(); };
}

TEdit* TTinternetExplorerSettings::AddPathRow(const char* name, const char* caption, int row,
                                              TLabel*& label, TButton*& browse) {
    TGroupBox* group = grpInternetExplorerPaths;
    const int top = Rows.At(row);
    const std::string edit = std::string("ed") + name, button = std::string("btn") + name;
    label = Place<TLabel>(this, group, (std::string("lbl") + name).c_str(), caption, LabelAt(top));
    auto ed = Place<TEdit>(this, group, edit.c_str(), "", EditAt(top));
    browse = Place<TButton>(this, group, button.c_str(), "...", {ButtonLeft, top - 1, 30, 23});
    browse->OnClick = [this, ed](TObject*) { BrowseFolder(ed); };
    return ed;
}

void TTinternetExplorerSettings::BuildPaths() {
    grpInternetExplorerPaths = Place<TGroupBox>(this, this, "grpInternetExplorerPaths",
                                                " Internet Explorer Paths ", PathsGroup);
    edCache = AddPathRow("Cache", "Cache:", 0, lblCache, btnCache);
    edCookies = AddPathRow("Cookies", "Cookies:", 1, lblCookies, btnCookies);
    edHistory = AddPathRow("History", "History:", 2, lblHistory, btnHistory);
    edFavorites = AddPathRow("Favorites", "Favorites:", 3, lblFavorites, btnFavorites);
    edSave = AddPathRow("Save", "Save:", 4, lblSave, btnSave);
    edDownload = AddPathRow("Download", "Download:", 5, lblDownload, btnDownload);
}

void TTinternetExplorerSettings::BuildProtection() {
    grpStartPageProtection = Place<TGroupBox>(this, this, "grpStartPageProtection",
                                              "Start Page Protection", ProtectionGroup);
    TGroupBox* group = grpStartPageProtection;
    chkProtectStartPage =
        Place<TCheckBox>(this, group, "chkProtectStartPage", "Protect Start Page from hijackers",
                         {LabelLeft, Rows.Start, 300, CheckHeight});
    constexpr int resetTop = 44;
    lblResetStartPageTo =
        Place<TLabel>(this, group, "lblResetStartPageTo", "Reset to:", LabelAt(resetTop));
    edResetStartPageTo = Place<TEdit>(this, group, "edResetStartPageTo", "", EditAt(resetTop));
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

bool TTinternetExplorerSettings::ShowsStoredValues() const {
    const TMisc& misc = *Engine->Misc;
    const TIESettings& ie = misc.IESettings;
    const std::pair<const TEdit*, const std::string*> texts[] = {
        {edTitle, &ie.WindowTitle},
        {edStartPage, &ie.StartPage},
        {edCache, &ie.Cache},
        {edCookies, &ie.Cookies},
        {edHistory, &ie.History},
        {edFavorites, &ie.Favorites},
        {edSave, &ie.SaveDirectory},
        {edDownload, &ie.DownloadDirectory},
        {edResetStartPageTo, &misc.ResetStartPageTo}};
    const std::pair<const TCheckBox*, bool> boxes[] = {
        {chkAutoSuggest, ie.AutoSuggest},
        {chkAutoSavePassword, ie.FormSuggestPasswords},
        {chkUseFormSuggest, ie.UseFormSuggest},
        {chkSavePasswordAsk, ie.FormSuggestPWAsk},
        {chkProtectStartPage, misc.ProtectStartPage}};
    for (const auto& [edit, value] : texts)
        if (edit->Text() != *value) return false;
    for (const auto& [box, value] : boxes)
        if (box->Checked() != value) return false;
    return true;
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
