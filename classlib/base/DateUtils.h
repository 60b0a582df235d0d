#pragma once
// TDateTime: days since 30 December 1899, the fraction being the time of day.
// Formatting follows the format settings below, which the program may change.
#include <string>
#include <windows.h>

using TDateTime = double;

struct TFormatSettings {
    char DateSeparator = '/';
    char TimeSeparator = ':';
    char DecimalSeparator = '.';
    std::string ShortDateFormat = "m/d/yyyy";
    std::string LongTimeFormat = "h:nn:ss AMPM";
    std::string ShortTimeFormat = "h:nn AMPM";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    // Index 0 is January; day names start with Sunday.
    std::string ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::string LongMonthNames[12] = {"January",   "February", "March",    "April",
                                      "May",       "June",     "July",     "August",
                                      "September", "October",  "November", "December"};
    std::string ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::string LongDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                   "Thursday", "Friday", "Saturday"};
};
// Initialised from the user locale at start-up.
TFormatSettings& FormatSettings();

TDateTime Now();
TDateTime Date();
TDateTime Time();
TDateTime EncodeDate(int year, int month, int day); // EConvertError on a bad date
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec);
int DayOfWeek(TDateTime dt); // 1 = Sunday ... 7 = Saturday
int DaysInAMonth(int year, int month);
bool IsLeapYear(int year);
TDateTime IncMonth(TDateTime dt, int months);

// Format codes: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz
// am/pm a/p AMPM, "/" and ":" (the separators), quoted text. "m" right after an hour
// is minutes. Any am/pm code makes the hours 12-hour.
std::string FormatDateTime(const std::string& format, TDateTime dt);
std::string DateToStr(TDateTime dt);     // ShortDateFormat
std::string TimeToStr(TDateTime dt);     // LongTimeFormat
std::string DateTimeToStr(TDateTime dt); // the time only when not midnight
// Parsing follows the order of d, m and y in ShortDateFormat and the separators; a
// missing year is the current one, two-digit years fall within 50 years of today.
TDateTime StrToDate(const std::string& s); // EConvertError
TDateTime StrToTime(const std::string& s);
TDateTime StrToDateTime(const std::string& s);
bool TryStrToDate(const std::string& s, TDateTime& out);
bool TryStrToTime(const std::string& s, TDateTime& out);
bool TryStrToDateTime(const std::string& s, TDateTime& out);

TDateTime SystemTimeToDateTime(const SYSTEMTIME& st);
SYSTEMTIME DateTimeToSystemTime(TDateTime dt);
TDateTime FileTimeToLocalDateTime(const FILETIME& ft); // UTC file time to local time
