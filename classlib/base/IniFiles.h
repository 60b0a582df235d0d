#pragma once
// Ini files through the platform's profile functions.
#include <string>
#include <vector>

class TIniFile {
public:
    explicit TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}
    [[nodiscard]] const std::string& FileName() const { return FFileName; }

    [[nodiscard]] std::string ReadString(const std::string& section, const std::string& ident,
                                         const std::string& def) const;
    [[nodiscard]] int ReadInteger(const std::string& section, const std::string& ident,
                                  int def) const;
    [[nodiscard]] bool ReadBool(const std::string& section, const std::string& ident,
                                bool def) const;
    void WriteString(const std::string& section, const std::string& ident,
                     const std::string& value);
    void WriteInteger(const std::string& section, const std::string& ident, int value);
    void WriteBool(const std::string& section, const std::string& ident, bool value); // "1"/"0"

    [[nodiscard]] std::vector<std::string> ReadSections() const;
    [[nodiscard]] std::vector<std::string>
    ReadSection(const std::string& section) const; // key names
    [[nodiscard]] bool SectionExists(const std::string& section) const;
    [[nodiscard]] bool ValueExists(const std::string& section, const std::string& ident) const;
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& ident);
    void UpdateFile(); // flushes the platform's cache

private:
    std::string FFileName;
};
