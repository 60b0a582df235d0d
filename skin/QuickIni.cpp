#include "skin/QuickIni.h"
#include "classlib/base/SysUtils.h"
#include "skin/SkinReader.h"

namespace {

bool IsHeader(const std::string& line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

std::string KeyOf(const std::string& line) {
    size_t eq = line.find('=');
    return eq == std::string::npos ? std::string()
                                   : AsciiLowerCase(TrimSkinText(line.substr(0, eq)));
}

} // namespace

std::string TrimSkinText(const std::string& s) {
    size_t first = 0, last = s.size();
    while (first < last && static_cast<unsigned char>(s[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(s[last - 1]) <= 32)
        --last;
    return s.substr(first, last - first);
}

void TQuickIni::LoadFromStream(const std::string& text) {
    FLines.clear();
    FSections.clear();
    for (const std::string& raw : SplitSkinLines(text.substr(0, text.find('\0')))) {
        std::string line = TrimSkinText(raw);
        if (line.empty() || line[0] == ';') continue;
        if (IsHeader(line)) FSections.push_back({line, static_cast<int>(FLines.size())});
        FLines.push_back(line);
    }
}

std::vector<std::string> TQuickIni::ReadSections() const {
    std::vector<std::string> names;
    for (const TSection& s : FSections)
        names.push_back(TrimSkinText(s.Header.substr(1, s.Header.size() - 2)));
    return names;
}

int TQuickIni::FindSection(const std::string& name) const {
    const std::string wanted = AsciiLowerCase(name);
    for (const TSection& s : FSections)
        if (s.Header.size() == wanted.size() + 2 &&
            AsciiLowerCase(s.Header.substr(1, wanted.size())) == wanted)
            return s.Line;
    return -1;
}

std::string TQuickIni::ReadString(const std::string& section, const std::string& key,
                                  const std::string& def) const {
    int line = FindSection(section);
    if (line < 0) return def;
    std::string wanted = AsciiLowerCase(key);
    for (size_t i = line + 1; i < FLines.size() && !IsHeader(FLines[i]); ++i) {
        if (KeyOf(FLines[i]) != wanted) continue;
        std::string value = TrimSkinText(FLines[i].substr(FLines[i].find('=') + 1));
        return value.empty() ? def : value;
    }
    return def;
}

int TQuickIni::ReadInteger(const std::string& section, const std::string& key, int def) const {
    std::string text = ReadString(section, key, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.replace(0, 2, "$");
    return StrToIntDef(text, def);
}
