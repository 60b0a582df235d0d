#pragma once
// Internet Explorer settings copied between the registry and fields that the
// settings page edits: window title, start page, AutoComplete switches, folders
// and the AutoFind list. Nothing here is stored in "prefs.dat". Main thread only.
#include "classlib/base/StringList.h"
#include <array>
#include <string>
#include <vector>

class TIESettings {
public:
    std::string WindowTitle;
    std::string StartPage;
    bool AutoSuggest = false;
    bool FormSuggestPasswords = false;
    bool UseFormSuggest = false;
    bool FormSuggestPWAsk = false;
    std::string Cache, Cookies, History, Favorites;
    std::string SaveDirectory, DownloadDirectory;
    TStringList UrlTemplates; // the AutoFind list

    // Registry to fields. A value that cannot be read (absent key, wrong type)
    // leaves its field unchanged; the others are still read. AutoFind values that are
    // not text are left out of the list and named in one failure line. Failures (not
    // an absent key) are kept for the next Write to return.
    void Read();
    // Fields to registry, creating missing keys. Only the fields changed since the last
    // Read or Write are written, so what other programs set meanwhile stays. AutoFind
    // values that were not read keep their names and data. Returns one line per value
    // that the last Read or this Write could not read or write.
    std::vector<std::string> Write();

    static constexpr size_t ValueCount = 12;

private:
    [[nodiscard]] std::string TextOf(size_t value) const;
    void SetText(size_t value, const std::string& text);
    [[nodiscard]] bool Changed(size_t value) const;
    void TakeSnapshot();
    void ReadTemplates();
    void WriteTemplates(std::vector<std::string>& failures);

    std::array<std::string, ValueCount> FSnapshot; // text forms the registry holds
    std::vector<std::string> FReadFailures;
    std::string FTemplatesSnapshot;
    std::vector<std::string> FUnreadTemplates; // AutoFind value names not of text
};

// "yes" in any case of its ASCII letters is true; anything else false.
bool YesNoToBool(const std::string& text);
std::string BoolToYesNo(bool value);
