#include "components/FileFinder/SearchCriteria.h"
#include <cmath>

namespace {
constexpr DWORD SearchedAttributes = 0x37; // read-only, hidden, system, directory, archive

constexpr struct {
    TFileAttribute Attribute;
    DWORD Bit;
} AttributeBits[] = {
    {ffArchive, FILE_ATTRIBUTE_ARCHIVE},     {ffReadonly, FILE_ATTRIBUTE_READONLY},
    {ffHidden, FILE_ATTRIBUTE_HIDDEN},       {ffSystem, FILE_ATTRIBUTE_SYSTEM},
    {ffDirectory, FILE_ATTRIBUTE_DIRECTORY},
};

// One bound against the file's local time; see TDateTimeCriteria.
bool WithinBound(TDateTime fileTime, TDateTime bound, bool before) {
    double value = fileTime;
    if (bound == std::floor(bound))
        value = std::floor(fileTime);
    else if (bound < 1.0)
        value = fileTime - std::floor(fileTime);
    return before ? value <= bound : value >= bound;
}

bool PairMatches(const FILETIME& time, TDateTime before, TDateTime after) {
    if (before == 0 && after == 0) return true;
    const TDateTime local = FileTimeToLocalDateTime(time);
    return (before == 0 || WithinBound(local, before, true)) &&
           (after == 0 || WithinBound(local, after, false));
}
} // namespace

TFileAttributes TAttributeCriteria::Attributes() const {
    TFileAttributes result;
    for (const auto& a : AttributeBits)
        if (FMask & a.Bit) result.insert(a.Attribute);
    return result;
}

void TAttributeCriteria::SetAttributes(const TFileAttributes& attributes) {
    FMask = 0;
    for (const auto& a : AttributeBits)
        if (attributes.count(a.Attribute)) FMask |= a.Bit;
}

bool TAttributeCriteria::Matches(DWORD fileAttributes) const {
    const DWORD a = fileAttributes & SearchedAttributes;
    return ExactMatch ? a == FMask : (a & ~FMask) == 0;
}

bool TDateTimeCriteria::Matches(const FILETIME& created, const FILETIME& modified,
                                const FILETIME& accessed) const {
    return PairMatches(created, CreatedBefore, CreatedAfter) &&
           PairMatches(modified, ModifiedBefore, ModifiedAfter) &&
           PairMatches(accessed, AccessedBefore, AccessedAfter);
}

bool TSizeCriteria::Matches(uint64_t size) const {
    return !(Min != 0 && size < Min) && !(Max != 0 && size > Max);
}

void TContentCriteria::SetPhrase(const std::string& phrase) {
    FPhrase = phrase;
    Prepare();
}

void TContentCriteria::SetIgnoreCase(bool ignoreCase) {
    FIgnoreCase = ignoreCase;
    FTable = ignoreCase ? &LowerCaseTable() : &IdentityTable();
    Prepare();
}

// The phrase goes through the same table as the file's bytes, so that letters
// beyond ASCII fold too.
void TContentCriteria::Prepare() {
    FPrepared = FPhrase;
    for (char& c : FPrepared)
        c = static_cast<char>((*FTable)[static_cast<uint8_t>(c)]);
}

bool TContentCriteria::Matches(const std::string& fileName) const {
    return FPhrase.empty() || FileContainsPhrase(fileName, FPrepared, WholeWord, *FTable);
}
