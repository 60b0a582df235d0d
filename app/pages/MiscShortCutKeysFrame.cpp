#include "app/pages/MiscShortCutKeysFrame.h"
#include "app/MessageBoxes.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"

namespace {

constexpr int GroupWidth = 584, LabelLeft = 16, KeyLeft = 170, KeyWidth = 160;

} // namespace

TTMiscShortCutKeys::TTMiscShortCutKeys(TComponent* owner) : TPageFrame(owner) {
    SetName("TTMiscShortCutKeys1");
    grpShortCuts = Place<TGroupBox>(this, this, "grpShortCuts", "Cleaning Action Settings", 8, 8,
                                    GroupWidth, 170);
    edQuickClean = AddKeyRow(lblQuickClean, "lblQuickClean", "Rapid Erase:", "edQuickClean", 24);
    edCleanReboot =
        AddKeyRow(lblCleanReboot, "lblCleanReboot", "Erase && Reboot:", "edCleanReboot", 52);
    edCleanShutdown = AddKeyRow(lblCleanShutdown, "lblCleanShutdown",
                                "Erase && Shutdown:", "edCleanShutdown", 80);
    edStopTask = AddKeyRow(lblStopTask, "lblStopTask", "Stop Process:", "edStopTask", 108);
    edEmptyRecycleBin = AddKeyRow(lblEmptyRecycleBin, "lblEmptyRecycleBin",
                                  "Empty Recycle Bin:", "edEmptyRecycleBin", 136);

    grpBossKey = AddSwitchGroup("grpBossKey", "Boss Key",
                                "This feature allows you to hide/unhide all internet browsers "
                                "actively running on your screen by pressing the hotkey "
                                "combination entered below",
                                186, lblBossKey);
    chkEnabledBossKey =
        Place<TCheckBox>(this, grpBossKey, "chkEnabledBossKey", "Boss Key", LabelLeft, 62, 140, 17);
    edBossKey = Place<THotKey>(this, grpBossKey, "edBossKey", "", KeyLeft, 60, KeyWidth, 21);
    grpStealthMode = AddSwitchGroup("grpStealthMode", "Stealth Mode",
                                    "Stealth Mode allows the application to run invisibly to pc "
                                    "users. You can hide/unhide the application by pressing the "
                                    "hotkey combination entered below",
                                    290, lblStealthMode);
    chkStealthMode = Place<TCheckBox>(this, grpStealthMode, "chkStealthMode", "Stealth Mode",
                                      LabelLeft, 62, 140, 17);
    edStealthMode =
        Place<THotKey>(this, grpStealthMode, "edStealthMode", "", KeyLeft, 60, KeyWidth, 21);

    btnApply = Place<TButton>(this, this, "btnApply", "&Apply", 386, 404, 100, 25);
    btnApply->SetDefault(true);
    btnApply->OnClick = [this](TObject* sender) { btnApplyClick(sender); };
    btnDefauls = Place<TButton>(this, this, "btnDefauls", "&Default", 492, 404, 100, 25);
    btnDefauls->OnClick = [this](TObject* sender) { btnDefaulsClick(sender); };

    FKeys = {
        {TMisc::hkQuickClean, edQuickClean, &TMisc::QuickClean, "Rapid Erase"},
        {TMisc::hkCleanAndReboot, edCleanReboot, &TMisc::CleanAndReboot, "Erase & Reboot"},
        {TMisc::hkCleanAndShutDown, edCleanShutdown, &TMisc::CleanAndShutDown, "Erase & Shutdown"},
        {TMisc::hkStopTask, edStopTask, &TMisc::StopTask, "Stop Process"},
        {TMisc::hkStealthMode, edStealthMode, &TMisc::StealthModeKey, "Stealth Mode"},
        {TMisc::hkBossKey, edBossKey, &TMisc::BossKey, "Boss Key"},
        {TMisc::hkRecycleBin, edEmptyRecycleBin, &TMisc::RecycleBinKey, "Empty Recycle Bin"},
    };
}

THotKey* TTMiscShortCutKeys::AddKeyRow(TLabel*& label, const char* labelName, const char* caption,
                                       const char* editName, int top) {
    label = Place<TLabel>(this, grpShortCuts, labelName, caption, LabelLeft, top + 3, 140, 15);
    return Place<THotKey>(this, grpShortCuts, editName, "", KeyLeft, top, KeyWidth, 21);
}

TGroupBox* TTMiscShortCutKeys::AddSwitchGroup(const char* name, const char* caption,
                                              const char* text, int top, TLabel*& textLabel) {
    auto group = Place<TGroupBox>(this, this, name, caption, 8, top, GroupWidth, 96);
    textLabel = Place<TLabel>(this, group, (std::string("lbl") + (name + 3)).c_str(), text,
                              LabelLeft, 20, GroupWidth - 2 * LabelLeft, 32);
    textLabel->SetAutoSize(false);
    textLabel->SetWordWrap(true);
    return group;
}

void TTMiscShortCutKeys::LoadSettings() {
    const TMisc& misc = *Engine->Misc;
    for (const TKeyRow& key : FKeys)
        key.Edit->SetHotKey(misc.*key.Field);
    chkEnabledBossKey->SetChecked(misc.BossKeyEnabled);
    chkStealthMode->SetChecked(misc.StealthModeEnabled);
}

void TTMiscShortCutKeys::btnApplyClick(TObject*) {
    TMisc& misc = *Engine->Misc;
    for (const TKeyRow& key : FKeys)
        misc.*key.Field = key.Edit->HotKey();
    misc.StealthModeEnabled = chkStealthMode->Checked();
    misc.BossKeyEnabled = chkEnabledBossKey->Checked();
    ReportUnregistered(misc.ApplyHotKeys());
}

void TTMiscShortCutKeys::btnDefaulsClick(TObject*) {
    Engine->Misc->SetDefaultHotKeys();
    const std::vector<int> failed = Engine->Misc->ApplyHotKeys();
    LoadSettings();
    ReportUnregistered(failed);
}

void TTMiscShortCutKeys::ReportUnregistered(const std::vector<int>& ids) const {
    if (!ids.empty()) ShowError(UnregisteredText(ids));
}

std::string TTMiscShortCutKeys::UnregisteredText(const std::vector<int>& ids) const {
    std::string text = "These hot keys could not be registered. Another program may use them, "
                       "or two actions have the same keys:";
    for (int id : ids)
        for (const TKeyRow& key : FKeys)
            if (key.Id == id)
                text += std::string("\n") + key.Name + ": " +
                        ShortCutToText((*Engine->Misc).*key.Field);
    return text;
}
