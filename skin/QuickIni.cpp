#include "skin/QuickIni.h"
#include "classlib/base/SysUtils.h"
#include "skin/SkinReader.h"

std::string_view TrimSkinText(std::string_view s) {
    size_t first = 0, last = s.size();
    while (first < last && static_cast<unsigned char>(s[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(s[last - 1]) <= 32)
        --last;
    return s.substr(first, last - first);
}

bool TQuickIni::LoadFromStream(std::string_view text) {
    FLines.clear();
    FHeaders.clear();
    FSectionIndex.clear();
    text = text.substr(0, text.find('\0'));
    if (text.size() > MaxTextSize) return false;
    ForEachSkinLine(text, [this](std::string_view raw) {
        const std::string_view line = TrimSkinText(raw);
        if (line.empty() || line[0] == ';') return true;
        const int index = static_cast<int>(FLines.size());
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            FLines.push_back({true, std::string(line.substr(1, line.size() - 2)), {}});
            FHeaders.push_back(index);
            FSectionIndex.emplace(AsciiLowerCase(FLines.back().Key), index);
            return FHeaders.size() <= MaxSections;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            FLines.push_back({false, {}, {}});
        else
            FLines.push_back({false, AsciiLowerCase(std::string(TrimSkinText(line.substr(0, eq)))),
                              std::string(TrimSkinText(line.substr(eq + 1)))});
        return true;
    });
    if (FHeaders.size() <= MaxSections) return true;
    FLines.clear();
    FHeaders.clear();
    FSectionIndex.clear();
    return false;
}

std::vector<std::string> TQuickIni::ReadSections() const {
    std::vector<std::string> names;
    for (int line : FHeaders)
        names.emplace_back(TrimSkinText(FLines[line].Key));
    return names;
}

int TQuickIni::FindSection(const std::string& name) const {
    const auto found = FSectionIndex.find(AsciiLowerCase(name));
    return found == FSectionIndex.end() ? -1 : found->second;
}

std::string TQuickIni::ReadString(const std::string& section, const std::string& key,
                                  const std::string& def) const {
    const int header = FindSection(section);
    if (header < 0) return def;
    const std::string wanted = AsciiLowerCase(key);
    for (size_t i = header + 1; i < FLines.size() && !FLines[i].Header; ++i)
        if (FLines[i].Key == wanted) return FLines[i].Value.empty() ? def : FLines[i].Value;
    return def;
}

int TQuickIni::ReadInteger(const std::string& section, const std::string& key, int def) const {
    std::string text = ReadString(section, key, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.replace(0, 2, "$");
    return StrToIntDef(text, def);
}
