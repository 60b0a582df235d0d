#pragma once
// What the file finder looks for: folders and masks, attributes, dates, sizes and
// content. Each member is a value: assigning copies it.
#include "classlib/base/DateUtils.h"
#include "classlib/base/StringList.h"
#include "components/FileFinder/ContentSearch.h"
#include <cstdint>
#include <set>
#include <string>
#include <windows.h>

struct TFileCriteria {
    std::string FileName; // masks separated by ";"
    std::string Location; // folders separated by ";"; "<" or ">" before one overrides Subfolders
    TStringList Included; // "C:\Temp\*.tmp" lines, "<"/">" as in Location
    TStringList Excluded; // exclusion lines (see FileMasks.h)
    bool Subfolders = true;
    uint16_t MinLevel = 0; // report files only from this depth on (the start folder is 1)
    uint16_t MaxLevel = 0; // enter subfolders only from folders above this depth; 0: no limit
};

enum TFileAttribute { ffArchive, ffReadonly, ffHidden, ffSystem, ffDirectory };
using TFileAttributes = std::set<TFileAttribute>;

class TAttributeCriteria {
public:
    [[nodiscard]] TFileAttributes Attributes() const;
    void SetAttributes(const TFileAttributes& attributes);
    [[nodiscard]] DWORD Mask() const { return FMask; }
    bool ExactMatch = false;
    // Without ExactMatch every attribute of the file must be in the set; with it the
    // file's attributes must equal the set. Only read-only, hidden, system, directory
    // and archive count.
    [[nodiscard]] bool Matches(DWORD fileAttributes) const;

private:
    DWORD FMask = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                  FILE_ATTRIBUTE_SYSTEM;
};

// Bounds of 0 are not set. A bound without a time part compares the file's date, one
// without a date part its time of day, any other the whole value; both ends inclusive.
struct TDateTimeCriteria {
    TDateTime CreatedBefore = 0, CreatedAfter = 0;
    TDateTime ModifiedBefore = 0, ModifiedAfter = 0;
    TDateTime AccessedBefore = 0, AccessedAfter = 0;
    [[nodiscard]] bool Matches(const FILETIME& created, const FILETIME& modified,
                               const FILETIME& accessed) const;
};

struct TSizeCriteria {
    uint32_t Min = 0; // 0: not set
    uint32_t Max = 0;
    [[nodiscard]] bool Matches(uint64_t size) const;
};

class TContentCriteria {
public:
    [[nodiscard]] const std::string& Phrase() const { return FPhrase; }
    void SetPhrase(const std::string& phrase);
    [[nodiscard]] bool IgnoreCase() const { return FIgnoreCase; }
    void SetIgnoreCase(bool ignoreCase);
    bool WholeWord = false;
    // True when the phrase is empty or the file holds it.
    [[nodiscard]] bool Matches(const std::string& fileName) const;

private:
    void Prepare();
    std::string FPhrase;
    bool FIgnoreCase = true;
    std::string FPrepared; // the phrase through FTable
    const TByteTable* FTable = &LowerCaseTable();
};

struct TSearchCriteria {
    TFileCriteria Files;
    TAttributeCriteria Attribute;
    TDateTimeCriteria TimeStamp;
    TSizeCriteria Size;
    TContentCriteria Content;
};
