#pragma once
// The eraser of registry keys (with everything below them) and values. Counts a key
// when it opens and a value when its key opens; deletes nothing in simulation mode.
// Main thread only.
#include "engine/erasers/Eraser.h"
#include <string>
#include <vector>

class TEraseRegistry : public TEraser {
public:
    using TEraser::TEraser;

    // Value names AddValue skips (exact, case-sensitive); "ExcludedValues" in "prefs.dat".
    std::vector<std::string> ExcludedValues;
    // Texts (string data) of values AddValue skips, compared ignoring letter case.
    std::vector<std::string> KeptTexts;
    // Set for an eraser that keeps values by their text: the key of HKEY_CURRENT_USER
    // they are read from. Its kept texts are "KeptTexts" in "prefs.dat", and value
    // names an older file keeps in "ExcludedValues" become, when loaded, the texts
    // those values hold then.
    std::string TextsKey;

    // Key paths are taken from the root key, with or without a leading "\".
    void AddKey(HKEY RootKey, const std::string& Key);
    void AddValue(HKEY RootKey, const std::string& Key, const std::string& ValueName);
    // False when the registry layer raised an error. A key path that names no key
    // below the root (empty or "\") finds nothing: the root is never deleted. No
    // deletion goes through a registry link: a key item's link is removed as itself,
    // a value of a link key is left; the log names the link.
    bool DeleteKey(HKEY RootKey, const std::string& Key);
    bool DeleteValue(HKEY RootKey, const std::string& Key, const std::string& ValueName);

    // Tests the engine's cancel flag before each item; a stop skips OnAfterErase.
    void Erase() override;
    void LoadFromXML(const TXMLNode& Parent) override;
    void SaveToXML(TXMLNode Parent) override;

private:
    [[nodiscard]] bool IsKeptText(HKEY RootKey, const std::string& Key,
                                  const std::string& ValueName) const;
    void KeepNamedTexts(); // the names of ExcludedValues as the texts of TextsKey
};
