#pragma once
// TQuickIni: the skin's own read-only ini reader over text held in memory. Section
// and key names match without regard to case; within a section the first line of
// a key answers, and an empty value answers with the default. Any thread.
#include <string>
#include <vector>

class TQuickIni {
public:
    // The text up to its first NUL; blank lines and ";" comments are dropped.
    void LoadFromStream(const std::string& text);
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
    struct TSection {
        std::string Header; // as kept, with its brackets
        int Line;
    };
    std::vector<std::string> FLines;
    std::vector<TSection> FSections;
};

// Characters of code 32 and below removed at both ends.
std::string TrimSkinText(const std::string& s);
