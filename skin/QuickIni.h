#pragma once
// TQuickIni: the skin's own read-only ini reader over text held in memory. Section
// and key names match without regard to case; within a section the first line of
// a key answers, and an empty value answers with the default. Sections are indexed
// once by name (the first of a name wins). Any thread.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TQuickIni {
public:
    // A skin's ini is a few KiB (ours about 3); texts and section counts beyond these
    // are refused, so a hostile one cannot take memory or time without bound.
    static constexpr size_t MaxTextSize = 256u << 10;
    static constexpr size_t MaxSections = 512;

    // The text up to its first NUL; blank lines and ";" comments are dropped. False
    // (nothing kept) for a text or a section count beyond the caps.
    bool LoadFromStream(std::string_view text);
    // Section names in file order, brackets removed and trimmed.
    [[nodiscard]] std::vector<std::string> ReadSections() const;
    // The line index of "[" + name + "]", or -1.
    [[nodiscard]] int FindSection(const std::string& name) const;
    [[nodiscard]] std::string ReadString(const std::string& section, const std::string& key,
                                         const std::string& def) const;
    // Decimal, "$" or "0x" hexadecimal, with an optional sign; anything else: def.
    [[nodiscard]] int ReadInteger(const std::string& section, const std::string& key,
                                  int def) const;

private:
    struct TLine {
        bool Header;
        std::string Key; // lower case; a header's: its name between the brackets
        std::string Value;
    };
    std::vector<TLine> FLines;
    std::vector<int> FHeaders; // line indexes, in file order
    std::unordered_map<std::string, int> FSectionIndex;
};

// Characters of code 32 and below removed at both ends.
std::string_view TrimSkinText(std::string_view s);
