#pragma once
// TSkinReader: unpacks a packed skin (u32 decoded size, then LZHUF code bits) and
// splits the package into its named members. Package: u32 magic 20000, u32 L, two
// unread u32, L bytes of names (one per line), a u32 size per name, the members.
// Any thread.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TSkinReader {
public:
    static constexpr uint32_t Magic = 20000;
    static constexpr size_t MaxMembers = 1001;
    // Decoded packages are capped, so a damaged size never allocates without bound
    // (ours decodes to under 1 MiB).
    static constexpr size_t MaxDecodedSize = 16u << 20;
    static constexpr size_t MaxRatio = 256; // decoded bytes per packed byte

    // Unpacks into target; false for a damaged stream or a size beyond the caps.
    static bool Unpack(const std::string& source, std::string& target);

    // False for a package that is refused; Error() then says why, for the user.
    bool LoadFromStream(const std::string& source);
    // The same for a package already unpacked.
    bool LoadPackage(std::string package);
    [[nodiscard]] const std::string& Error() const { return FError; }

    // The member of that name (any case), whole; empty when there is none. Members
    // are read in place: the view lives as long as the package.
    [[nodiscard]] std::string_view GetFile(const std::string& name) const;
    // The first member whose lower-case name contains part; name receives its name.
    // Empty, name unchanged, when there is none.
    [[nodiscard]] std::string_view FindFile(const std::string& part, std::string& name) const;

    [[nodiscard]] int Count() const { return static_cast<int>(FNames.size()); }
    [[nodiscard]] const std::vector<std::string>& Names() const { return FNames; }

private:
    bool Refuse(const std::string& error);
    [[nodiscard]] std::string_view Member(size_t index) const;

    std::vector<std::string> FNames;
    std::vector<uint32_t> FSizes;
    std::vector<size_t> FOffsets;
    std::string FData;
    std::string FError;
};

// The texts shown when a stored skin is refused.
extern const char* const SkinOlderText;
extern const char* const SkinDamagedText;

// Calls line for each line of text, ended by CR LF, LF or CR; a last line without an
// end still counts, an empty one after the last end does not. A false from line stops.
void ForEachSkinLine(std::string_view text, const std::function<bool(std::string_view)>& line);
std::vector<std::string> SplitSkinLines(std::string_view text);
std::string AsciiLowerCase(std::string s);
