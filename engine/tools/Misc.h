#pragma once
// The smaller tools' settings and behaviour: the seven global hot keys, the
// stealth-mode and boss-key switches, start-page protection, the Internet Explorer
// settings, the startup manager and the stored passwords. The engine owns the one
// instance. Main thread only.
#include "classlib/base/XMLDoc.h"
#include "classlib/gui/Timer.h"
#include "engine/tools/IESettings.h"
#include "engine/tools/ShortCut.h"
#include "engine/tools/StartupManager.h"
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

class TSecretCipher;

class TPasswordItem {
public:
    std::string Title;
    std::string UserName;
    std::string Password; // clear text in memory; encrypted only in "prefs.dat"
    std::string URL;
};

class TMisc {
public:
    // Hot-key ids as the main window receives them in WM_HOTKEY.
    enum : int {
        hkQuickClean = 1000,
        hkCleanAndReboot = 2000,
        hkCleanAndShutDown = 3000,
        hkStopTask = 4000,
        hkStealthMode = 5000,
        hkBossKey = 6000,
        hkRecycleBin = 7000
    };

    TMisc();
    virtual ~TMisc();
    TMisc(const TMisc&) = delete;
    TMisc& operator=(const TMisc&) = delete;

    // The element "Misc" below Parent. Loading never registers hot keys. A stored
    // password that cannot be decoded ends the list there (the rest of its chain
    // would decode scrambled) and raises EConvertError; PasswordDamage tells it.
    virtual void LoadFromXML(const TXMLNode& Parent);
    virtual void SaveToXML(TXMLNode Parent);

    void SetDefaultHotKeys(); // the switches are left alone
    // For HotKeyWindow; the stealth and boss keys only while their switch is on.
    // Returns the ids of the keys that could not be registered (held by another
    // program, or by an earlier id) or may not be (without Ctrl or Alt).
    std::vector<int> RegisterHotKeys();
    void UnregisterHotKeys();
    std::vector<int> ApplyHotKeys(); // unregister, then register; never raises
    // Whether the hot key of that id may hold the shortcut: every key needs Ctrl or
    // Alt, and those always registered need Ctrl too with Alt on a key of Windows'
    // own (IsWindowsAltKey). The stealth and boss keys, taken only while their switch
    // is on, keep Alt alone.
    [[nodiscard]] static bool MayHold(int id, TShortCut key);
    // The tick of start-page protection: writes ResetStartPageTo back as the start
    // page when it differs. Does nothing while protection is off or the address empty.
    void CheckStartPage();
    void ReadIESettings() { IESettings.Read(); }
    std::vector<std::string> WriteIESettings() { return IESettings.Write(); }

    // Runs CheckStartPage every 3000 ms from creation on, whether protection is on or not.
    std::unique_ptr<TTimer> StartPageTimer;
    TShortCut QuickClean = 0;
    TShortCut CleanAndReboot = 0;
    TShortCut CleanAndShutDown = 0;
    TShortCut StopTask = 0;
    bool StealthModeEnabled = false;
    TShortCut StealthModeKey = 0;
    bool BossKeyEnabled = false;
    TShortCut BossKey = 0;
    TShortCut RecycleBinKey = 0;
    HWND HotKeyWindow = nullptr; // receives the hot-key messages; set by the main window

    bool ProtectStartPage = false;
    std::string ResetStartPageTo;

    TIESettings IESettings; // the Internet Explorer fields and the AutoFind list
    TStartupManager StartupManager;
    std::vector<std::unique_ptr<TPasswordItem>> Passwords; // in the user's order
    // Called by whoever adds, edits or removes a stored password.
    std::function<void()> OnPasswordsChanged;
    // After a load: which stored password could not be read, and how many after it
    // were left out; empty when all were read.
    std::string PasswordDamage;

private:
    void LoadShortCuts(const TXMLNode& shortCuts);
    void LoadPasswords(const TXMLNode& passwords);
    [[nodiscard]] static bool DecryptEntry(TSecretCipher& cipher, const TXMLNode& node,
                                           TPasswordItem& entry);
};
