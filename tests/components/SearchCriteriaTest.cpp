#include "components/FileFinder/SearchCriteria.h"
#include "components/FileFinder/FileMasks.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

namespace {
FILETIME LocalFileTime(int year, int month, int day, int hour, int minute) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    FILETIME local, utc;
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    return utc;
}

bool Modified(const TDateTimeCriteria& c, const FILETIME& t) {
    const FILETIME none = LocalFileTime(2000, 1, 1, 0, 0);
    return c.Matches(none, t, none);
}
} // namespace

TEST(SearchCriteria, AttributeSetAndExactMatch) {
    TAttributeCriteria c;
    EXPECT_EQ(c.Mask(), 0x27u);
    EXPECT_TRUE(c.Matches(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_TRUE(c.Matches(FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(c.Matches(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(c.Matches(FILE_ATTRIBUTE_DIRECTORY));
    c.ExactMatch = true;
    EXPECT_FALSE(c.Matches(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_TRUE(c.Matches(0x27));
    c.SetAttributes({ffArchive, ffDirectory});
    EXPECT_EQ(c.Mask(), 0x30u);
    EXPECT_EQ(c.Attributes(), (TFileAttributes{ffArchive, ffDirectory}));
}

TEST(SearchCriteria, SizeBoundsOfZeroAreNotSet) {
    TSizeCriteria c;
    c.Min = 100;
    EXPECT_FALSE(c.Matches(99));
    EXPECT_TRUE(c.Matches(100));
    EXPECT_TRUE(c.Matches(5'000'000'000ull));
    c.Max = 200;
    EXPECT_TRUE(c.Matches(200));
    EXPECT_FALSE(c.Matches(201));
    // A file above 4 GiB is not taken for a small one.
    EXPECT_FALSE(c.Matches(0x1'0000'0096ull));
}

TEST(SearchCriteria, DateBoundsCompareDateTimeOfDayOrBoth) {
    TDateTimeCriteria c;
    c.ModifiedAfter = EncodeDate(2024, 5, 10);
    EXPECT_TRUE(Modified(c, LocalFileTime(2024, 5, 10, 0, 1)));
    EXPECT_TRUE(Modified(c, LocalFileTime(2024, 5, 10, 23, 59)));
    EXPECT_FALSE(Modified(c, LocalFileTime(2024, 5, 9, 23, 59)));

    c.ModifiedAfter = EncodeTime(14, 0, 0, 0);
    EXPECT_TRUE(Modified(c, LocalFileTime(1999, 1, 1, 14, 0)));
    EXPECT_FALSE(Modified(c, LocalFileTime(2030, 1, 1, 13, 59)));

    c.ModifiedAfter = 0;
    c.ModifiedBefore = EncodeDate(2024, 5, 10) + EncodeTime(12, 0, 0, 0);
    EXPECT_TRUE(Modified(c, LocalFileTime(2024, 5, 10, 11, 59)));
    EXPECT_FALSE(Modified(c, LocalFileTime(2024, 5, 10, 12, 1)));

    TDateTimeCriteria created;
    created.CreatedBefore = EncodeDate(2024, 1, 1);
    const FILETIME late = LocalFileTime(2025, 1, 1, 0, 0);
    EXPECT_FALSE(created.Matches(late, late, late));
}

TEST(FileMasks, ExclusionNamesFollowTheDosRules) {
    EXPECT_TRUE(MatchesExclusion("C:\\A\\", "a.txt", "*.txt"));
    EXPECT_TRUE(MatchesExclusion("C:\\A\\", "a.TXT", "*.txt"));
    EXPECT_FALSE(MatchesExclusion("C:\\A\\", "a.txt2", "*.txt"));
    EXPECT_TRUE(MatchesExclusion("C:\\A\\", "readme", "*."));
    EXPECT_FALSE(MatchesExclusion("C:\\A\\", "a.txt", "*."));
    EXPECT_TRUE(MatchesExclusion("C:\\A\\", "readme", "readme"));
    EXPECT_TRUE(MatchesExclusion("C:\\A\\", "readme.txt", "readme"));
    EXPECT_TRUE(MatchesExclusion("C:\\A\\", "README.DOC", "readme"));
    EXPECT_TRUE(MatchesExclusion("C:\\A\\", "abc.txt", "a*z.txt"));
    EXPECT_TRUE(MatchesExclusion("C:\\A\\", "ab.txt", "a?.txt"));
    EXPECT_TRUE(MatchesExclusion("C:\\A\\", "a.txt", "a?.txt")); // "?" may match nothing at the end
    EXPECT_FALSE(MatchesExclusion("C:\\A\\", "abc.txt", "a?.txt"));
}

TEST(FileMasks, ExclusionFoldersMatchDriveAndFolderEnd) {
    EXPECT_TRUE(MatchesExclusion("C:\\Any\\Where\\", "f.bin", "C:\\"));
    EXPECT_TRUE(MatchesExclusion("c:\\", "f.bin", "C:\\"));
    EXPECT_FALSE(MatchesExclusion("D:\\Any\\", "f.bin", "C:\\"));
    EXPECT_TRUE(MatchesExclusion("D:\\x\\Temp\\", "f.bin", "*:\\Temp\\"));
    EXPECT_TRUE(MatchesExclusion("C:\\temp\\", "f.bin", "*:\\Temp\\"));
    EXPECT_FALSE(MatchesExclusion("C:\\Temp\\sub\\", "f.bin", "*:\\Temp\\"));
    EXPECT_TRUE(MatchesExclusion("C:\\data\\mybackup\\", "f.bak", "backup\\*.bak"));
    EXPECT_FALSE(MatchesExclusion("C:\\data\\mybackup\\", "f.txt", "backup\\*.bak"));
    EXPECT_TRUE(MatchesExclusion("\\\\srv\\share\\x\\", "f", "\\\\srv\\sh*\\"));
    EXPECT_FALSE(MatchesExclusion("\\\\other\\share\\x\\", "f", "\\\\srv\\share\\"));
}

TEST(ContentSearch, FindsPhrasesAcrossBlockBoundaries) {
    TTempFolder temp;
    // A phrase straddling the first 61440-byte block, and one at the very end.
    std::string data(150000, '.');
    data.replace(61440 - 3, 6, "needle");
    data.replace(data.size() - 5, 5, "final");
    const std::string file = temp.Write("big.bin", data);
    TContentCriteria c;
    c.SetPhrase("NEEDLE");
    EXPECT_TRUE(c.Matches(file));
    c.SetPhrase("final");
    EXPECT_TRUE(c.Matches(file));
    c.WholeWord = true;
    EXPECT_TRUE(c.Matches(file));
    c.SetPhrase("absent");
    EXPECT_FALSE(c.Matches(file));

    // A phrase longer than a block: the block grows to the phrase length plus one.
    std::string longPhrase(70000, ' ');
    uint32_t seed = 1;
    for (char& ch : longPhrase)
        ch = static_cast<char>('a' + (seed = seed * 69069 + 1) % 26);
    std::string longData(200000, '.');
    longData.replace(120000, longPhrase.size(), longPhrase);
    const std::string longFile = temp.Write("long.bin", longData);
    c.WholeWord = false;
    c.SetPhrase(longPhrase);
    EXPECT_TRUE(c.Matches(longFile));
}

// Word boundaries on either side of the 61440-byte block boundary.
TEST(ContentSearch, WholeWordsAtTheBlockBoundary) {
    TTempFolder temp;
    int files = 0;
    const auto fileWith = [&](size_t at, const std::string& text) {
        std::string data(100000, ' ');
        data.replace(at, text.size(), text);
        return temp.Write(std::to_string(++files) + ".bin", data);
    };
    TContentCriteria c;
    c.SetPhrase("needle");
    c.WholeWord = true;
    EXPECT_TRUE(c.Matches(fileWith(61440 - 6, "needle ")));  // ends the first block
    EXPECT_FALSE(c.Matches(fileWith(61440 - 6, "needlex"))); // a letter after it
    EXPECT_TRUE(c.Matches(fileWith(61440 - 1, " needle")));  // starts the second block
    EXPECT_FALSE(c.Matches(fileWith(61440 - 1, "xneedle"))); // a letter before it
}

TEST(ContentSearch, WholeWordsAndCase) {
    TTempFolder temp;
    const std::string sentence = temp.Write("s.txt", "a cat.");
    const std::string start = temp.Write("start.txt", "cat!");
    const std::string end = temp.Write("end.txt", "the cat");
    const std::string concat = temp.Write("concat.txt", "concat cats");
    TContentCriteria c;
    c.SetPhrase("cat");
    c.WholeWord = true;
    EXPECT_TRUE(c.Matches(sentence));
    EXPECT_TRUE(c.Matches(start));
    EXPECT_TRUE(c.Matches(end));
    EXPECT_FALSE(c.Matches(concat));
    c.WholeWord = false;
    EXPECT_TRUE(c.Matches(concat));

    const std::string hello = temp.Write("h.txt", "say HELLO");
    c.SetPhrase("Hello");
    EXPECT_TRUE(c.Matches(hello));
    c.SetIgnoreCase(false);
    EXPECT_FALSE(c.Matches(hello));
    c.SetPhrase("HELLO");
    EXPECT_TRUE(c.Matches(hello));
    c.SetPhrase("");
    EXPECT_TRUE(c.Matches(hello));
}

// Letters beyond ASCII fold in both directions (code page 1252 here).
TEST(ContentSearch, IgnoringCaseFoldsNonAsciiLetters) {
    TTempFolder temp;
    const std::string lower = temp.Write("l.txt", "gr\xfc\xdf \xe4pfel"); // "grüß äpfel"
    const std::string upper = temp.Write("u.txt", "GR\xdc\xdf \xc4PFEL"); // "GRÜß ÄPFEL"
    TContentCriteria c;
    c.SetPhrase("\xc4PFEL");
    EXPECT_TRUE(c.Matches(lower));
    EXPECT_TRUE(c.Matches(upper));
    c.SetPhrase("gr\xfc\xdf");
    EXPECT_TRUE(c.Matches(upper));
    c.SetIgnoreCase(false);
    EXPECT_FALSE(c.Matches(upper));
}

TEST(ContentSearch, UnreadableFilesDoNotMatch) {
    TTempFolder temp;
    const std::string file = temp.Write("locked.txt", "secret");
    HANDLE lock = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    TContentCriteria c;
    c.SetPhrase("secret");
    EXPECT_FALSE(c.Matches(file));
    CloseHandle(lock);
    EXPECT_TRUE(c.Matches(file));
    EXPECT_FALSE(c.Matches(temp.Path() + "missing.txt"));
}
