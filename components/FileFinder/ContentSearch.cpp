#include "components/FileFinder/ContentSearch.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>
#include <bitset>
#include <cstring>
#include <vector>
#include <windows.h>

namespace {
constexpr int64_t BlockSize = 61440;

struct TTables {
    TByteTable Identity;
    TByteTable Lower;
    std::bitset<256> Delimiters;
    TTables() {
        // File contents are bytes of the ANSI code page: each byte through UTF-16.
        for (int c = 0; c < 256; ++c) {
            Identity[c] = static_cast<uint8_t>(c);
            Lower[c] = static_cast<uint8_t>(c);
            const char byte = static_cast<char>(c);
            wchar_t wide = 0;
            if (MultiByteToWideChar(CP_ACP, 0, &byte, 1, &wide, 1) != 1) continue;
            Delimiters[c] = IsCharAlphaNumericW(wide) == FALSE;
            CharLowerBuffW(&wide, 1);
            char lower = byte;
            BOOL lost = FALSE;
            if (WideCharToMultiByte(CP_ACP, 0, &wide, 1, &lower, 1, nullptr, &lost) == 1 && !lost)
                Lower[c] = static_cast<uint8_t>(lower);
        }
    }
};

// Thread-safe one-time construction; read-only afterwards.
const TTables& Tables() {
    static const TTables tables;
    return tables;
}

// A window over the file: the data read so far that is still needed.
class TBlockReader {
public:
    TBlockReader(HANDLE file, size_t size) : FFile(file), FBuffer(size) {}
    // Reads the next block over the whole buffer; false at the end of the file.
    bool Next() {
        FCount = Fill(0);
        return FCount > 0;
    }
    // Keeps the bytes from start on, moved to the front, and fills the rest.
    void Refill(size_t start) {
        std::memmove(FBuffer.data(), FBuffer.data() + start, FCount - start);
        FCount -= start;
        FCount += Fill(FCount);
    }
    [[nodiscard]] size_t Count() const { return FCount; }
    uint8_t operator[](size_t i) const { return FBuffer[i]; }

private:
    size_t Fill(size_t at) {
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(FBuffer.size() - at);
        if (want == 0 || !ReadFile(FFile, FBuffer.data() + at, want, &read, nullptr)) return 0;
        return read;
    }
    HANDLE FFile;
    std::vector<uint8_t> FBuffer;
    size_t FCount = 0;
};

enum class TCompare { Match, Mismatch, EndOfFile };

// Compares the phrase with the data at i; refilling may move the candidate to 0.
TCompare ComparePhrase(TBlockReader& data, size_t& i, const std::string& phrase,
                       const TByteTable& table) {
    const size_t length = phrase.size();
    for (size_t j = 1; j < length; ++j) {
        if (i + j >= data.Count()) {
            data.Refill(i);
            i = 0;
            if (data.Count() < length) return TCompare::EndOfFile;
        }
        if (table[data[i + j]] != static_cast<uint8_t>(phrase[j])) return TCompare::Mismatch;
    }
    return TCompare::Match;
}

// With whole words: the byte after the phrase is a delimiter, or the file ends there.
bool EndsWord(TBlockReader& data, size_t& i, size_t length) {
    if (i + length >= data.Count()) {
        data.Refill(i);
        i = 0;
        if (data.Count() <= length) return true;
    }
    return IsWordDelimiter(data[i + length]);
}

bool SearchBlocks(TBlockReader& data, const std::string& phrase, bool wholeWord,
                  const TByteTable& table) {
    const uint8_t first = static_cast<uint8_t>(phrase[0]);
    uint8_t previous = 0;
    while (data.Next()) {
        for (size_t i = 0; i < data.Count(); ++i) {
            const uint8_t byte = data[i];
            if (table[byte] == first && (!wholeWord || IsWordDelimiter(previous))) {
                switch (ComparePhrase(data, i, phrase, table)) {
                case TCompare::EndOfFile: return false;
                case TCompare::Match:
                    if (!wholeWord || EndsWord(data, i, phrase.size())) return true;
                    break;
                case TCompare::Mismatch: break;
                }
            }
            previous = byte;
        }
    }
    return false;
}
} // namespace

const TByteTable& IdentityTable() {
    return Tables().Identity;
}
const TByteTable& LowerCaseTable() {
    return Tables().Lower;
}
bool IsWordDelimiter(uint8_t c) {
    return Tables().Delimiters[c];
}

bool FileContainsPhrase(const std::string& fileName, const std::string& phrase, bool wholeWord,
                        const TByteTable& table) {
    if (phrase.empty()) return false;
    TFileHandle file(CreateFileW(ToWide(fileName).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size)) return false;
    const int64_t length = static_cast<int64_t>(phrase.size());
    if (size.QuadPart < length) return false;
    const int64_t block =
        size.QuadPart <= BlockSize ? size.QuadPart : std::max(BlockSize, length + 1);
    TBlockReader data(file.Get(), static_cast<size_t>(block));
    return SearchBlocks(data, phrase, wholeWord, table);
}
