#include "app/pages/MiscShortCutKeysFrame.h"
#include "app/MessageBoxes.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"
#include <algorithm>

using namespace Layout;

namespace {

// Groups one below another; in each, rows of a caption and its hot key.
constexpr int GroupWidth = PageContentWidth, LabelLeft = 16, KeyLeft = 170, KeyWidth = 160;
constexpr TBounds ShortCutsGroup{Margin, Margin, GroupWidth, 170};
constexpr TTrack KeyRows{24, EditHeight, 7};
constexpr int SwitchGroupHeight = 96, SwitchKeyTop = 60;

constexpr TBounds KeyAt(int top) {
    return {KeyLeft, top, KeyWidth, EditHeight};
}

constexpr TBounds SwitchBox{LabelLeft, SwitchKeyTop + 2, 140, CheckHeight};

// Posted when a hot-key box loses the focus: the keys come back unless another box
// has it by then.
constexpr UINT WM_RESUMEHOTKEYS = WM_APP + 130;

} // namespace

TTMiscShortCutKeys::TTMiscShortCutKeys(TComponent* owner) : TPageFrame(owner) {
    SetName("TTMiscShortCutKeys1");
    grpShortCuts =
        Place<TGroupBox>(this, this, "grpShortCuts", "Cleaning Action Settings", ShortCutsGroup);
    edQuickClean =
        AddKeyRow(lblQuickClean, "lblQuickClean", "Rapid Erase:", "edQuickClean", KeyRows.At(0));
    edCleanReboot = AddKeyRow(lblCleanReboot, "lblCleanReboot", "Erase && Reboot:", "edCleanReboot",
                              KeyRows.At(1));
    edCleanShutdown = AddKeyRow(lblCleanShutdown, "lblCleanShutdown",
                                "Erase && Shutdown:", "edCleanShutdown", KeyRows.At(2));
    edStopTask =
        AddKeyRow(lblStopTask, "lblStopTask", "Stop Process:", "edStopTask", KeyRows.At(3));
    edEmptyRecycleBin = AddKeyRow(lblEmptyRecycleBin, "lblEmptyRecycleBin",
                                  "Empty Recycle Bin:", "edEmptyRecycleBin", KeyRows.At(4));

    const TGrid switchGroups =
        Down(Margin, ShortCutsGroup.Bottom() + Margin, GroupWidth, SwitchGroupHeight, Margin);

    grpBossKey = AddSwitchGroup("grpBossKey", "Boss Key",
                                "This feature allows you to hide/unhide all internet browsers "
                                "actively running on your screen by pressing the hotkey "
                                "combination entered below",
                                switchGroups.Cell(0, 0).Top, lblBossKey);
    chkEnabledBossKey =
        Place<TCheckBox>(this, grpBossKey, "chkEnabledBossKey", "Boss Key", SwitchBox);
    edBossKey = Place<THotKey>(this, grpBossKey, "edBossKey", "", KeyAt(SwitchKeyTop));
    grpStealthMode = AddSwitchGroup("grpStealthMode", "Stealth Mode",
                                    "Stealth Mode allows the application to run invisibly to pc "
                                    "users. You can hide/unhide the application by pressing the "
                                    "hotkey combination entered below",
                                    switchGroups.Cell(0, 1).Top, lblStealthMode);
    chkStealthMode =
        Place<TCheckBox>(this, grpStealthMode, "chkStealthMode", "Stealth Mode", SwitchBox);
    edStealthMode = Place<THotKey>(this, grpStealthMode, "edStealthMode", "", KeyAt(SwitchKeyTop));

    const TGrid buttons = PageButtonsAtRight(switchGroups.Cell(0, 1).Bottom() + 18, 2);
    btnApply = Place<TButton>(this, this, "btnApply", "&Apply", buttons.Cell(0, 0));
    btnApply->SetDefault(true);
    btnApply->OnClick = [this](TObject* sender) { btnApplyClick(sender); };
    btnDefauls = Place<TButton>(this, this, "btnDefauls", "&Default", buttons.Cell(1, 0));
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
    // The program's keys would fire instead of reaching the box: typing the current
    // "Erase & Shutdown" key would clean and shut Windows down.
    for (const TKeyRow& key : FKeys) {
        key.Edit->OnEnter = [this](TObject*) {
            if (Engine) Engine->Misc->UnregisterHotKeys();
        };
        key.Edit->OnExit = [this](TObject*) {
            if (HWND page = HandleIfAllocated()) PostMessageW(page, WM_RESUMEHOTKEYS, 0, 0);
        };
    }
}

bool TTMiscShortCutKeys::HotKeyBoxFocused() const {
    return std::any_of(FKeys.begin(), FKeys.end(),
                       [](const TKeyRow& key) { return key.Edit->Focused(); });
}

// Registers what Misc holds, as at the last apply; its failures were told then.
void TTMiscShortCutKeys::WndProc(TMessage& message) {
    if (message.Msg != WM_RESUMEHOTKEYS) return TPageFrame::WndProc(message);
    if (Engine && !HotKeyBoxFocused()) Engine->Misc->ApplyHotKeys();
}

THotKey* TTMiscShortCutKeys::AddKeyRow(TLabel*& label, const char* labelName, const char* caption,
                                       const char* editName, int top) {
    label = Place<TLabel>(this, grpShortCuts, labelName, caption,
                          {LabelLeft, top + 3, 140, LabelHeight});
    return Place<THotKey>(this, grpShortCuts, editName, "", KeyAt(top));
}

TGroupBox* TTMiscShortCutKeys::AddSwitchGroup(const char* name, const char* caption,
                                              const char* text, int top, TLabel*& textLabel) {
    auto group =
        Place<TGroupBox>(this, this, name, caption, {Margin, top, GroupWidth, SwitchGroupHeight});
    textLabel = Place<TLabel>(this, group, (std::string("lbl") + (name + 3)).c_str(), text,
                              {LabelLeft, 20, GroupWidth - 2 * LabelLeft, 32});
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
    std::string refused;
    for (const TKeyRow& key : FKeys)
        if (!TMisc::MayHold(key.Id, key.Edit->HotKey()))
            refused += KeyLine(key, key.Edit->HotKey());
    if (!refused.empty()) {
        ShowError("A hot key needs Ctrl or Alt, and Ctrl too with Alt on a letter, digit, "
                  "Space, Tab or F4: without them it would take its keys from typing, menus "
                  "and windows in every program. No hot key was changed." +
                  refused);
        return;
    }
    TMisc& misc = *Engine->Misc;
    for (const TKeyRow& key : FKeys)
        misc.*key.Field = key.Edit->HotKey();
    misc.StealthModeEnabled = chkStealthMode->Checked();
    misc.BossKeyEnabled = chkEnabledBossKey->Checked();
    ReportUnregistered(ApplyKeys());
}

void TTMiscShortCutKeys::btnDefaulsClick(TObject*) {
    Engine->Misc->SetDefaultHotKeys();
    const std::vector<int> failed = ApplyKeys();
    LoadSettings();
    ReportUnregistered(failed);
}

// Registers the keys to learn which fail; a box that still has the focus (Enter
// pressed in it) keeps them off.
std::vector<int> TTMiscShortCutKeys::ApplyKeys() {
    std::vector<int> failed = Engine->Misc->ApplyHotKeys();
    if (HotKeyBoxFocused()) Engine->Misc->UnregisterHotKeys();
    return failed;
}

void TTMiscShortCutKeys::ReportUnregistered(const std::vector<int>& ids) const {
    if (!ids.empty()) ShowError(UnregisteredText(ids));
}

std::string TTMiscShortCutKeys::UnregisteredText(const std::vector<int>& ids) const {
    std::string text = "These hot keys could not be registered. Another program may use them, "
                       "two actions may have the same keys, or a key lacks Ctrl or Alt:";
    for (int id : ids)
        for (const TKeyRow& key : FKeys)
            if (key.Id == id) text += KeyLine(key, (*Engine->Misc).*key.Field);
    return text;
}

std::string TTMiscShortCutKeys::KeyLine(const TKeyRow& key, TShortCut value) {
    const char* need = !IsAllowedHotKey(value)          ? " (needs Ctrl or Alt)"
                       : !TMisc::MayHold(key.Id, value) ? " (needs Ctrl too)"
                                                        : "";
    return std::string("\n") + key.Name + ": " + ShortCutToText(value) + need;
}
