#pragma once
// The "Shortcut Keys" page: the seven hot keys of the engine's Misc and the boss-key
// and stealth-mode switches. It keeps no state of its own: LoadSettings copies Misc
// into the controls, "&Apply" copies them back and registers the keys. While one of
// its hot-key boxes has the focus the program's hot keys are off, so that a key typed
// there is taken by the box and runs nothing. Main thread.
#include "app/pages/PageFrame.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/HotKey.h"
#include "classlib/gui/Label.h"
#include <string>
#include <vector>

class TTMiscShortCutKeys : public TPageFrame {
public:
    explicit TTMiscShortCutKeys(TComponent* owner);

    void LoadSettings() override;
    // Keys that Misc may not hold are refused, and nothing changes; keys that cannot be
    // registered (held by another program, or given to two actions) are named in one
    // message.
    void btnApplyClick(TObject* Sender);
    void btnDefaulsClick(TObject* Sender); // the switches keep their values
    // One message naming the keys of those hot-key ids and what they are set to.
    [[nodiscard]] std::string UnregisteredText(const std::vector<int>& ids) const;

protected:
    void WndProc(TMessage& message) override;

    TGroupBox* grpShortCuts;
    TLabel *lblQuickClean, *lblCleanReboot, *lblCleanShutdown, *lblStopTask, *lblEmptyRecycleBin;
    THotKey *edQuickClean, *edCleanReboot, *edCleanShutdown, *edStopTask, *edEmptyRecycleBin;
    TGroupBox* grpBossKey;
    TLabel* lblBossKey;
    TCheckBox* chkEnabledBossKey;
    THotKey* edBossKey;
    TGroupBox* grpStealthMode;
    TLabel* lblStealthMode;
    TCheckBox* chkStealthMode;
    THotKey* edStealthMode;
    TButton *btnApply, *btnDefauls;

private:
    // One hot key: its id, its edit, its field in Misc and its name in messages.
    struct TKeyRow {
        int Id;
        THotKey* Edit;
        TShortCut TMisc::*Field;
        const char* Name;
    };
    THotKey* AddKeyRow(TLabel*& label, const char* labelName, const char* caption,
                       const char* editName, int top);
    TGroupBox* AddSwitchGroup(const char* name, const char* caption, const char* text, int top,
                              TLabel*& textLabel);
    void ReportUnregistered(const std::vector<int>& ids) const;
    std::vector<int> ApplyKeys();
    [[nodiscard]] bool HotKeyBoxFocused() const;
    // A line of a message: the key's action and its keys.
    [[nodiscard]] static std::string KeyLine(const TKeyRow& key, TShortCut value);

    std::vector<TKeyRow> FKeys;
};
