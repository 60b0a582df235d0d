#include "skin/SkinReader.h"
#include "skin/LZH.h"
#include <cstring>
#include <memory>

const char* const SkinOlderText = "This is Older Skin File\rPlease update to new version !";
const char* const SkinDamagedText = "The skin is damaged and was not loaded.";

namespace {

uint32_t ReadU32(const std::string& s, size_t offset) {
    uint32_t v;
    std::memcpy(&v, s.data() + offset, 4);
    return v;
}

} // namespace

std::string AsciiLowerCase(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

void ForEachSkinLine(std::string_view text, const std::function<bool(std::string_view)>& line) {
    size_t i = 0;
    while (i < text.size()) {
        size_t end = text.find_first_of("\r\n", i);
        if (end == std::string_view::npos) end = text.size();
        if (!line(text.substr(i, end - i))) return;
        i = end;
        if (i < text.size() && text[i] == '\r') ++i;
        if (i < text.size() && text[i] == '\n') ++i;
    }
}

std::vector<std::string> SplitSkinLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachSkinLine(text, [&lines](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

bool TSkinReader::Unpack(const std::string& source, std::string& target) {
    target.clear();
    if (source.size() < 4) return false;
    size_t decodedSize = ReadU32(source, 0);
    size_t packed = source.size() - 4;
    if (decodedSize > MaxDecodedSize || decodedSize > packed * MaxRatio) return false;
    auto decoder = std::make_unique<TLZH>();
    return decoder->Decode(reinterpret_cast<const uint8_t*>(source.data()) + 4, packed, decodedSize,
                           target);
}

bool TSkinReader::Refuse(const std::string& error) {
    FNames.clear();
    FSizes.clear();
    FOffsets.clear();
    FData.clear();
    FError = error;
    return false;
}

bool TSkinReader::LoadFromStream(const std::string& source) {
    std::string package;
    if (!Unpack(source, package)) return Refuse(SkinDamagedText);
    return LoadPackage(std::move(package));
}

bool TSkinReader::LoadPackage(std::string package) {
    if (package.size() < 16) return Refuse(SkinDamagedText);
    if (ReadU32(package, 0) != Magic) return Refuse(SkinOlderText);
    // Every length is checked against the package before a member is read.
    size_t nameLength = ReadU32(package, 4);
    if (nameLength > package.size() - 16) return Refuse(SkinDamagedText);
    const std::string_view names = std::string_view(package).substr(16, nameLength);
    // Counted before a name is copied: a list of millions of names stops at the cap.
    size_t count = 0;
    ForEachSkinLine(names, [&count](std::string_view) { return ++count <= MaxMembers; });
    size_t tableEnd = 16 + nameLength + 4 * count;
    if (count > MaxMembers || tableEnd > package.size()) return Refuse(SkinDamagedText);
    FNames = SplitSkinLines(AsciiLowerCase(std::string(names)));
    FSizes.resize(count);
    FOffsets.resize(count);
    uint64_t total = 0;
    for (size_t i = 0; i < count; ++i) {
        FSizes[i] = ReadU32(package, 16 + nameLength + 4 * i);
        FOffsets[i] = tableEnd + static_cast<size_t>(total);
        total += FSizes[i];
    }
    if (total > package.size() - tableEnd) return Refuse(SkinDamagedText);
    FData = std::move(package); // members are read in place: no second copy
    FError.clear();
    return true;
}

std::string_view TSkinReader::Member(size_t index) const {
    return std::string_view(FData).substr(FOffsets[index], FSizes[index]);
}

std::string_view TSkinReader::GetFile(const std::string& name) const {
    std::string lower = AsciiLowerCase(name);
    for (size_t i = 0; i < FNames.size(); ++i)
        if (FNames[i] == lower) return Member(i);
    return {};
}

std::string_view TSkinReader::FindFile(const std::string& part, std::string& name) const {
    for (size_t i = 0; i < FNames.size(); ++i)
        if (FNames[i].find(part) != std::string::npos) {
            name = FNames[i];
            return Member(i);
        }
    return {};
}
