#include "engine/tools/IESettings.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>
#include <vector>

namespace {
const char* const MainKey = "Software\\Microsoft\\Internet Explorer\\Main";
const char* const ShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const IEKey = "Software\\Microsoft\\Internet Explorer";
const char* const AutoCompleteKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoComplete";
const char* const UrlTemplateKey = "SOFTWARE\\Microsoft\\Internet Explorer\\Main\\UrlTemplate";

struct TIEValue {
    const char* Key;
    const char* Name;
    std::string TIESettings::*Text; // null for a switch
    bool TIESettings::*Switch;      // null for a text
};

// Reading order. The four folders are read from "Shell Folders" only.
const TIEValue Values[TIESettings::ValueCount] = {
    {MainKey, "Window Title", &TIESettings::WindowTitle, nullptr},
    {MainKey, "Start Page", &TIESettings::StartPage, nullptr},
    {MainKey, "FormSuggest Passwords", nullptr, &TIESettings::FormSuggestPasswords},
    {MainKey, "Use FormSuggest", nullptr, &TIESettings::UseFormSuggest},
    {MainKey, "FormSuggest PW Ask", nullptr, &TIESettings::FormSuggestPWAsk},
    {MainKey, "Save Directory", &TIESettings::SaveDirectory, nullptr},
    {ShellFoldersKey, "Cache", &TIESettings::Cache, nullptr},
    {ShellFoldersKey, "Cookies", &TIESettings::Cookies, nullptr},
    {ShellFoldersKey, "History", &TIESettings::History, nullptr},
    {ShellFoldersKey, "Favorites", &TIESettings::Favorites, nullptr},
    {IEKey, "Download Directory", &TIESettings::DownloadDirectory, nullptr},
    {AutoCompleteKey, "AutoSuggest", nullptr, &TIESettings::AutoSuggest},
};

// Writing order: the folders also go into "Main", before "Save Directory".
struct TWriteStep {
    const char* Key;
    std::vector<size_t> Values;
};
const TWriteStep WriteSteps[] = {
    {MainKey, {0, 1, 2, 3, 4, 6, 7, 8, 9, 5}},
    {ShellFoldersKey, {6, 7, 8, 9}},
    {IEKey, {10}},
    {AutoCompleteKey, {11}},
};
} // namespace

bool YesNoToBool(const std::string& text) {
    if (text.size() != 3) return false;
    const char* yes = "yes";
    for (size_t i = 0; i < 3; ++i)
        if ((text[i] | 0x20) != yes[i]) return false;
    return true;
}

std::string BoolToYesNo(bool value) {
    return value ? "yes" : "no";
}

std::string TIESettings::TextOf(size_t value) const {
    const TIEValue& v = Values[value];
    return v.Text ? this->*v.Text : BoolToYesNo(this->*v.Switch);
}

void TIESettings::SetText(size_t value, const std::string& text) {
    const TIEValue& v = Values[value];
    if (v.Text)
        this->*v.Text = text;
    else
        this->*v.Switch = YesNoToBool(text);
}

bool TIESettings::Changed(size_t value) const {
    return TextOf(value) != FSnapshot[value];
}

void TIESettings::TakeSnapshot() {
    for (size_t i = 0; i < ValueCount; ++i)
        FSnapshot[i] = TextOf(i);
    FTemplatesSnapshot = UrlTemplates.Text();
}

namespace {
// "Window Title (HKEY_CURRENT_USER\...\Main): reason", one line of the failures.
std::string FailureLine(const char* name, const char* root, const char* key,
                        const std::string& reason) {
    return std::string(name) + " (" + root + "\\" + key + "): " + reason;
}
std::string ValueFailure(size_t value, const std::string& reason) {
    return FailureLine(Values[value].Name, "HKEY_CURRENT_USER", Values[value].Key, reason);
}
std::string TemplatesFailure(const std::string& reason) {
    return FailureLine("AutoFind", "HKEY_LOCAL_MACHINE", UrlTemplateKey, reason);
}

// A name as the AutoFind list is saved: "1", "2" and so on, without leading zeros.
bool PositionName(const std::string& name, int& position) {
    return TryStrToInt(name, position) && position >= 1 && std::to_string(position) == name;
}

// The registry may list names as text ("1", "10", "2"): the saved positions are put
// back in their order, in the places that position names hold; other names stay.
std::vector<std::string> InSavedOrder(std::vector<std::string> names) {
    std::vector<size_t> places;
    std::vector<int> positions;
    for (size_t i = 0; i < names.size(); ++i) {
        int position = 0;
        if (!PositionName(names[i], position)) continue;
        places.push_back(i);
        positions.push_back(position);
    }
    std::sort(positions.begin(), positions.end());
    for (size_t k = 0; k < places.size(); ++k)
        names[places[k]] = std::to_string(positions[k]);
    return names;
}
} // namespace

void TIESettings::Read() {
    FReadFailures.clear();
    for (size_t i = 0; i < ValueCount; ++i) {
        try {
            TRegistry reg(KEY_READ);
            reg.RootKey = HKEY_CURRENT_USER;
            if (!reg.OpenKeyReadOnly(Values[i].Key)) continue; // made on the next save
            SetText(i, reg.ReadString(Values[i].Name));        // an absent value reads as ""
        } catch (const Exception& e) {
            // A value of the wrong type keeps its field, and is written only when changed.
            FReadFailures.push_back(ValueFailure(i, e.Message()));
        }
    }
    ReadTemplates();
    TakeSnapshot();
}

void TIESettings::ReadTemplates() {
    UrlTemplates.Clear();
    FUnreadTemplates.clear();
    try {
        TRegistry reg(KEY_READ);
        reg.RootKey = HKEY_LOCAL_MACHINE;
        if (!reg.OpenKeyReadOnly(UrlTemplateKey)) return;
        for (const std::string& name : InSavedOrder(reg.GetValueNames())) {
            try {
                UrlTemplates.Add(reg.ReadString(name));
            } catch (const Exception&) {
                FUnreadTemplates.push_back(name); // kept in its place on a write
            }
        }
    } catch (const Exception& e) {
        FReadFailures.push_back(TemplatesFailure(e.Message()));
    }
    if (FUnreadTemplates.empty()) return;
    std::string names;
    for (const std::string& name : FUnreadTemplates)
        names += (names.empty() ? "" : ", ") + name;
    FReadFailures.push_back(
        TemplatesFailure("values that are not text are not listed and are kept: " + names));
}

std::vector<std::string> TIESettings::Write() {
    std::vector<std::string> failures = std::move(FReadFailures);
    FReadFailures.clear();
    std::array<bool, ValueCount> failed{};
    for (const TWriteStep& step : WriteSteps) {
        TRegistry reg;
        reg.RootKey = HKEY_CURRENT_USER;
        bool opened = false;
        for (size_t i : step.Values) {
            if (!Changed(i)) continue;
            try {
                if (!opened && !reg.OpenKey(step.Key, true))
                    throw Exception("the key cannot be opened or created");
                opened = true;
                reg.WriteString(Values[i].Name, TextOf(i));
            } catch (const Exception& e) {
                failed[i] = true;
                failures.push_back(ValueFailure(i, e.Message()));
            }
        }
    }
    // A folder is written to two keys: it is saved once both took it.
    for (size_t i = 0; i < ValueCount; ++i)
        if (!failed[i]) FSnapshot[i] = TextOf(i);
    if (UrlTemplates.Text() != FTemplatesSnapshot) WriteTemplates(failures);
    return failures;
}

void TIESettings::WriteTemplates(std::vector<std::string>& failures) {
    try {
        TRegistry reg;
        reg.RootKey = HKEY_LOCAL_MACHINE;
        if (!reg.OpenKey(UrlTemplateKey, true))
            throw Exception("the key cannot be opened or created");
        auto unread = [&](const std::string& name) {
            return std::find(FUnreadTemplates.begin(), FUnreadTemplates.end(), name) !=
                   FUnreadTemplates.end();
        };
        // New values first, in the positions the unread values leave free, then the old
        // names that are not reused: a failure never leaves the key empty.
        std::vector<std::string> written;
        for (int i = 0, position = 1; i < UrlTemplates.Count(); ++position) {
            const std::string name = std::to_string(position);
            if (unread(name)) continue;
            reg.WriteString(name, UrlTemplates[i++]);
            written.push_back(name);
        }
        for (const std::string& name : reg.GetValueNames())
            if (!unread(name) && std::find(written.begin(), written.end(), name) == written.end())
                reg.DeleteValue(name);
        FTemplatesSnapshot = UrlTemplates.Text();
    } catch (const Exception& e) {
        // What was written so far stays; the old values are deleted only after it.
        failures.push_back(TemplatesFailure(e.Message()));
    }
}
