#include "classlib/base/IniFiles.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>
#include <functional>
#include <windows.h>

namespace {

// Calls a profile function with a growing buffer; the function returns the count
// written, which is size - reserve when the buffer was too small. The W functions keep
// the file in the ANSI code page, as it always was; the program gets UTF-8.
std::string ReadProfile(const std::function<DWORD(wchar_t*, DWORD)>& call, DWORD reserve) {
    std::wstring buffer(2048, L'\0');
    while (true) {
        DWORD n = call(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n + reserve < buffer.size() || buffer.size() >= (1u << 24)) {
            buffer.resize(n);
            return ToUtf8(buffer);
        }
        buffer.resize(buffer.size() * 4);
    }
}

// A list of NUL-terminated strings.
std::vector<std::string> SplitNulList(const std::string& list) {
    std::vector<std::string> items;
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find('\0', start);
        if (end == std::string::npos) end = list.size();
        if (end > start) items.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

bool ContainsText(const std::vector<std::string>& items, const std::string& s) {
    return std::any_of(items.begin(), items.end(),
                       [&](const std::string& item) { return SameText(item, s); });
}

} // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& def) const {
    return ReadProfile(
        [&](wchar_t* buf, DWORD size) {
            return GetPrivateProfileStringW(ToWide(section).c_str(), ToWide(ident).c_str(),
                                            ToWide(def).c_str(), buf, size,
                                            ToWide(FFileName).c_str());
        },
        1);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& ident, int def) const {
    return StrToIntDef(ReadString(section, ident, ""), def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) const {
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident,
                           const std::string& value) {
    if (!WritePrivateProfileStringW(ToWide(section).c_str(), ToWide(ident).c_str(),
                                    ToWide(value).c_str(), ToWide(FFileName).c_str()))
        throw EIniFileException("Unable to write to " + FFileName);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, IntToStr(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

std::vector<std::string> TIniFile::ReadSections() const {
    return SplitNulList(ReadProfile(
        [&](wchar_t* buf, DWORD size) {
            return GetPrivateProfileSectionNamesW(buf, size, ToWide(FFileName).c_str());
        },
        2));
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
    return SplitNulList(ReadProfile(
        [&](wchar_t* buf, DWORD size) {
            return GetPrivateProfileStringW(ToWide(section).c_str(), nullptr, L"", buf, size,
                                            ToWide(FFileName).c_str());
        },
        2));
}

bool TIniFile::SectionExists(const std::string& section) const {
    return ContainsText(ReadSections(), section);
}

bool TIniFile::ValueExists(const std::string& section, const std::string& ident) const {
    return ContainsText(ReadSection(section), ident);
}

void TIniFile::EraseSection(const std::string& section) {
    if (!WritePrivateProfileStringW(ToWide(section).c_str(), nullptr, nullptr,
                                    ToWide(FFileName).c_str()))
        throw EIniFileException("Unable to write to " + FFileName);
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    WritePrivateProfileStringW(ToWide(section).c_str(), ToWide(ident).c_str(), nullptr,
                               ToWide(FFileName).c_str());
}

void TIniFile::UpdateFile() {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, ToWide(FFileName).c_str());
}
