#include "classlib/base/DateUtils.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"
#include <cmath>
#include <cstdint>

namespace {

constexpr int64_t kMSecsPerDay = 86400000;
constexpr int kDaysTo1970 = 25569; // TDateTime of 1 January 1970

// Days since 1 January 1970 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (month <= 2));
}

// The value rounded to milliseconds: whole days (towards zero) and the time of day.
void SplitMSecs(TDateTime dt, int64_t& days, int64_t& msecs) {
    const int64_t total = std::llround(dt * kMSecsPerDay);
    days = total / kMSecsPerDay;
    msecs = std::llabs(total) % kMSecsPerDay;
}

std::string LocaleString(LCTYPE type, const std::string& def) {
    wchar_t buffer[256];
    int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 256);
    return n > 1 ? ToUtf8(std::wstring(buffer, n - 1)) : def;
}

// A Windows date picture ("M/d/yyyy") as format codes: lower case, separator as "/".
std::string DateFormatFromLocale(const std::string& picture, char separator) {
    std::string r;
    bool quoted = false;
    for (char c : picture) {
        if (c == '\'') quoted = !quoted;
        if (!quoted && c == separator)
            r += '/';
        else
            r += quoted ? c : static_cast<char>(tolower(static_cast<unsigned char>(c)));
    }
    return r;
}

// A Windows time picture ("h:mm:ss tt") as format codes ("h:nn:ss AMPM").
std::string TimeFormatFromLocale(const std::string& picture, char separator) {
    std::string r;
    bool quoted = false;
    for (size_t i = 0; i < picture.size(); ++i) {
        char c = picture[i];
        if (c == '\'') quoted = !quoted;
        if (quoted || c == '\'')
            r += c;
        else if (c == separator)
            r += ':';
        else if (c == 'H')
            r += 'h';
        else if (c == 'm' || c == 'M')
            r += 'n';
        else if (c == 't') {
            if (i == 0 || picture[i - 1] != 't') r += "AMPM";
        } else
            r += c;
    }
    return r;
}

// "h:nn:ss AMPM" gives "h:nn AMPM".
std::string WithoutSeconds(const std::string& format) {
    bool quoted = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '\'' || format[i] == '"') quoted = !quoted;
        if (quoted || (format[i] != 's' && format[i] != 'S')) continue;
        size_t end = format.find_first_not_of("sS", i);
        if (end == std::string::npos) end = format.size();
        size_t start = i > 0 && format[i - 1] == ':' ? i - 1 : i;
        return format.substr(0, start) + format.substr(end);
    }
    return format;
}

TFormatSettings FromLocale() {
    TFormatSettings f;
    f.DateSeparator = LocaleString(LOCALE_SDATE, "/")[0];
    f.TimeSeparator = LocaleString(LOCALE_STIME, ":")[0];
    f.DecimalSeparator = LocaleString(LOCALE_SDECIMAL, ".")[0];
    f.ShortDateFormat =
        DateFormatFromLocale(LocaleString(LOCALE_SSHORTDATE, "M/d/yyyy"), f.DateSeparator);
    f.LongTimeFormat =
        TimeFormatFromLocale(LocaleString(LOCALE_STIMEFORMAT, "h:mm:ss tt"), f.TimeSeparator);
    // Wine has no short time picture: the long one without seconds stands in.
    const std::string shortTime = LocaleString(LOCALE_SSHORTTIME, "");
    f.ShortTimeFormat = shortTime.empty() ? WithoutSeconds(f.LongTimeFormat)
                                          : TimeFormatFromLocale(shortTime, f.TimeSeparator);
    f.TimeAMString = LocaleString(LOCALE_S1159, "AM");
    f.TimePMString = LocaleString(LOCALE_S2359, "PM");
    for (int i = 0; i < 12; ++i) {
        f.ShortMonthNames[i] = LocaleString(LOCALE_SABBREVMONTHNAME1 + i, f.ShortMonthNames[i]);
        f.LongMonthNames[i] = LocaleString(LOCALE_SMONTHNAME1 + i, f.LongMonthNames[i]);
    }
    // The locale's day names start with Monday.
    for (int i = 0; i < 7; ++i) {
        f.ShortDayNames[(i + 1) % 7] =
            LocaleString(LOCALE_SABBREVDAYNAME1 + i, f.ShortDayNames[(i + 1) % 7]);
        f.LongDayNames[(i + 1) % 7] =
            LocaleString(LOCALE_SDAYNAME1 + i, f.LongDayNames[(i + 1) % 7]);
    }
    return f;
}

} // namespace

TFormatSettings& FormatSettings() {
    static TFormatSettings settings = FromLocale();
    return settings;
}

TDateTime Now() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return SystemTimeToDateTime(st);
}

TDateTime Date() {
    return std::trunc(Now());
}

TDateTime Time() {
    TDateTime now = Now();
    return now - std::trunc(now);
}

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInAMonth(year, month))
        return false;
    out = static_cast<TDateTime>(DaysFromCivil(year, month, day) + kDaysTo1970);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime dt;
    if (!TryEncodeDate(year, month, day, dt))
        throw EConvertError("Invalid argument to date encode");
    return dt;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 ||
        msec > 999)
        throw EConvertError("Invalid argument to time encode");
    return (((hour * 60 + min) * 60 + sec) * 1000 + msec) / static_cast<double>(kMSecsPerDay);
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day) {
    int64_t days, msecs;
    SplitMSecs(dt, days, msecs);
    CivilFromDays(days - kDaysTo1970, year, month, day);
}

void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec) {
    int64_t days, msecs;
    SplitMSecs(dt, days, msecs);
    msec = static_cast<int>(msecs % 1000);
    sec = static_cast<int>(msecs / 1000 % 60);
    min = static_cast<int>(msecs / 60000 % 60);
    hour = static_cast<int>(msecs / 3600000);
}

int DayOfWeek(TDateTime dt) {
    int64_t days, msecs;
    SplitMSecs(dt, days, msecs);
    // Day 0 (30 December 1899) was a Saturday.
    return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

TDateTime IncMonth(TDateTime dt, int months) {
    int year, month, day;
    DecodeDate(dt, year, month, day);
    int index = year * 12 + (month - 1) + months;
    year = index / 12;
    month = index % 12 + 1;
    day = std::min(day, DaysInAMonth(year, month));
    TDateTime date = EncodeDate(year, month, day);
    TDateTime time = std::fabs(dt - std::trunc(dt));
    return date >= 0 ? date + time : date - time;
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& st) {
    TDateTime date = EncodeDate(st.wYear, st.wMonth, st.wDay);
    TDateTime time = EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
    return date >= 0 ? date + time : date - time;
}

SYSTEMTIME DateTimeToSystemTime(TDateTime dt) {
    int year, month, day, hour, min, sec, msec;
    DecodeDate(dt, year, month, day);
    DecodeTime(dt, hour, min, sec, msec);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wDayOfWeek = static_cast<WORD>(DayOfWeek(dt) - 1);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(min);
    st.wSecond = static_cast<WORD>(sec);
    st.wMilliseconds = static_cast<WORD>(msec);
    return st;
}

TDateTime FileTimeToLocalDateTime(const FILETIME& ft) {
    SYSTEMTIME utc, local;
    if (!FileTimeToSystemTime(&ft, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        RaiseLastOSError();
    return SystemTimeToDateTime(local);
}
