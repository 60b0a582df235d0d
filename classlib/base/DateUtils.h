#pragma once
// TDateTime: days since 30 December 1899, the fraction being the time of day.
// Formatting follows the format settings below, which the program may change.
#include <windows.h>
#include <string>

using TDateTime = double;

struct TFormatSettings {
    char DateSeparator = '/';
    char TimeSeparator = ':';
    char DecimalSeparator = '.';
    std::string ShortDateFormat = "m/d/yyyy";
    std::string LongTimeFormat = "h:nn:ss AMPM";
    std::string ShortTimeFormat = "h:nn AMPM";
};
// Initialised from the user locale at start-up.
TFormatSettings& FormatSettings();

TDateTime Now();
TDateTime Date();
TDateTime Time();
TDateTime EncodeDate(int year, int month, int day);  // EConvertError on a bad date
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec);
int DayOfWeek(TDateTime dt);  // 1 = Sunday ... 7 = Saturday
int DaysInAMonth(int year, int month);
bool IsLeapYear(int year);
TDateTime IncMonth(TDateTime dt, int months);

// Format codes: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz
// am/pm AMPM, "/" and ":" (the separators), quoted text.
std::string FormatDateTime(const std::string& format, TDateTime dt);
std::string DateToStr(TDateTime dt);      // ShortDateFormat
std::string TimeToStr(TDateTime dt);      // LongTimeFormat
std::string DateTimeToStr(TDateTime dt);
TDateTime StrToDate(const std::string& s);  // EConvertError
TDateTime StrToTime(const std::string& s);
TDateTime StrToDateTime(const std::string& s);
bool TryStrToDate(const std::string& s, TDateTime& out);
bool TryStrToTime(const std::string& s, TDateTime& out);

TDateTime SystemTimeToDateTime(const SYSTEMTIME& st);
SYSTEMTIME DateTimeToSystemTime(TDateTime dt);
TDateTime FileTimeToLocalDateTime(const FILETIME& ft);  // UTC file time to local time
