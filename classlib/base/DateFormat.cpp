// Formatting and parsing of TDateTime values (declared in DateUtils.h).
#include "classlib/base/DateUtils.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"
#include <cctype>

namespace {

char Lower(char c) {
    return static_cast<char>(tolower(static_cast<unsigned char>(c)));
}

bool StartsAt(const std::string& s, size_t i, const char* text) {
    size_t n = strlen(text);
    return i + n <= s.size() && SameText(s.substr(i, n), text);
}

// Whether an am/pm code appears outside quotes: the hours are then 12-hour.
bool HasAmPm(const std::string& format) {
    char quote = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (StartsAt(format, i, "am/pm") || StartsAt(format, i, "a/p") ||
                   StartsAt(format, i, "ampm")) {
            return true;
        }
    }
    return false;
}

std::string Digits(int v, int width) {
    std::string s = std::to_string(v);
    return s.size() < static_cast<size_t>(width) ? std::string(width - s.size(), '0') + s : s;
}

struct TDateParts {
    int Year, Month, Day, Hour, Min, Sec, MSec, WeekDay;
};

// Appends one am/pm code at format[i]; returns its length (0 when there is none).
size_t AppendAmPm(const std::string& format, size_t i, int hour, std::string& out) {
    const bool pm = hour >= 12;
    if (StartsAt(format, i, "am/pm")) {
        out += format.substr(pm ? i + 3 : i, 2); // in the letter case of the format
        return 5;
    }
    if (StartsAt(format, i, "a/p")) {
        out += format[pm ? i + 2 : i];
        return 3;
    }
    if (StartsAt(format, i, "ampm")) {
        out += pm ? FormatSettings().TimePMString : FormatSettings().TimeAMString;
        return 4;
    }
    return 0;
}

} // namespace

namespace {

size_t AppendDay(size_t run, const TDateParts& p, std::string& out) {
    const TFormatSettings& fs = FormatSettings();
    run = std::min<size_t>(run, 4);
    if (run <= 2)
        out += Digits(p.Day, static_cast<int>(run));
    else
        out += run == 3 ? fs.ShortDayNames[p.WeekDay] : fs.LongDayNames[p.WeekDay];
    return run;
}

size_t AppendMonth(size_t run, const TDateParts& p, std::string& out) {
    const TFormatSettings& fs = FormatSettings();
    run = std::min<size_t>(run, 4);
    if (run <= 2)
        out += Digits(p.Month, static_cast<int>(run));
    else
        out += run == 3 ? fs.ShortMonthNames[p.Month - 1] : fs.LongMonthNames[p.Month - 1];
    return run;
}

// Appends a number of one or two digits ("h" or "hh"); returns the letters used.
size_t AppendShort(int value, size_t run, std::string& out) {
    run = std::min<size_t>(run, 2);
    out += Digits(value, static_cast<int>(run));
    return run;
}

// Appends the code that starts at format[i], a run of equal letters; returns the
// letters used, 0 when format[i] is no code.
size_t AppendCode(const std::string& format, size_t i, size_t run, const TDateParts& p,
                  bool minutes, bool twelveHour, std::string& out) {
    switch (Lower(format[i])) {
    case 'd': return AppendDay(run, p, out);
    case 'm': return minutes ? AppendShort(p.Min, run, out) : AppendMonth(run, p, out);
    case 'y': out += run <= 2 ? Digits(p.Year % 100, 2) : Digits(p.Year, 4); return run;
    case 'h': return AppendShort(twelveHour ? (p.Hour + 11) % 12 + 1 : p.Hour, run, out);
    case 'n': return AppendShort(p.Min, run, out);
    case 's': return AppendShort(p.Sec, run, out);
    case 'z': out += Digits(p.MSec, run >= 3 ? 3 : 1); return run >= 3 ? 3 : 1;
    case 'a': return AppendAmPm(format, i, p.Hour, out);
    default: return 0;
    }
}

} // namespace

std::string FormatDateTime(const std::string& format, TDateTime dt) {
    TDateParts p{};
    DecodeDate(dt, p.Year, p.Month, p.Day);
    DecodeTime(dt, p.Hour, p.Min, p.Sec, p.MSec);
    p.WeekDay = DayOfWeek(dt) - 1;
    const bool twelveHour = HasAmPm(format);
    std::string out;
    bool afterHour = false; // "m" right after an hour code means minutes
    for (size_t i = 0; i < format.size();) {
        const char c = format[i];
        if (c == '"' || c == '\'') {
            size_t end = format.find(c, i + 1);
            if (end == std::string::npos) end = format.size();
            out += format.substr(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        size_t run = 1;
        while (i + run < format.size() && Lower(format[i + run]) == Lower(c))
            ++run;
        size_t used = AppendCode(format, i, run, p, afterHour, twelveHour, out);
        if (used > 0) {
            afterHour = Lower(c) == 'h';
            i += used;
            continue;
        }
        // Separators and literals keep an hour code's effect on "m".
        out += c == '/'   ? FormatSettings().DateSeparator
               : c == ':' ? FormatSettings().TimeSeparator
                          : c;
        ++i;
    }
    return out;
}

std::string DateToStr(TDateTime dt) {
    return FormatDateTime(FormatSettings().ShortDateFormat, dt);
}

std::string TimeToStr(TDateTime dt) {
    return FormatDateTime(FormatSettings().LongTimeFormat, dt);
}

std::string DateTimeToStr(TDateTime dt) {
    int hour, min, sec, msec;
    DecodeTime(dt, hour, min, sec, msec);
    if (hour == 0 && min == 0 && sec == 0) return DateToStr(dt);
    return DateToStr(dt) + " " + TimeToStr(dt);
}

namespace {

// Reads date and time texts left to right.
class TScanner {
public:
    explicit TScanner(const std::string& s) : FText(s) {}
    void SkipBlanks() {
        while (FPos < FText.size() && FText[FPos] == ' ')
            ++FPos;
    }
    bool Number(int& v, int& digits) {
        SkipBlanks();
        digits = 0;
        v = 0;
        while (FPos < FText.size() && isdigit(static_cast<unsigned char>(FText[FPos])) &&
               digits < 9) {
            v = v * 10 + (FText[FPos++] - '0');
            ++digits;
        }
        return digits > 0;
    }
    bool Char(char c) {
        SkipBlanks();
        if (FPos >= FText.size() || FText[FPos] != c) return false;
        ++FPos;
        return true;
    }
    bool Text(const std::string& t) {
        SkipBlanks();
        if (t.empty() || !StartsText(t, FText.substr(FPos))) return false;
        FPos += t.size();
        return true;
    }
    bool AtEnd() {
        SkipBlanks();
        return FPos >= FText.size();
    }
    size_t& Pos() { return FPos; }

private:
    const std::string& FText;
    size_t FPos = 0;
};

// Where day, month and year stand in the short date format ("m/d/yyyy": 1, 0, 2).
struct TDateOrder {
    int Day = 1, Month = 0, Year = 2;
};

TDateOrder DateOrder() {
    TDateOrder order;
    std::string seen;
    for (char c : FormatSettings().ShortDateFormat) {
        c = Lower(c);
        if ((c != 'd' && c != 'm' && c != 'y') || seen.find(c) != std::string::npos) continue;
        int slot = static_cast<int>(seen.size());
        seen += c;
        (c == 'd' ? order.Day : c == 'm' ? order.Month : order.Year) = slot;
    }
    return seen.size() == 3 ? order : TDateOrder();
}

int CurrentYear() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return st.wYear;
}

bool ScanDate(TScanner& in, TDateTime& out) {
    const char sep = FormatSettings().DateSeparator;
    int n[3] = {0, 0, 0}, digits[3] = {0, 0, 0};
    if (!in.Number(n[0], digits[0]) || !in.Char(sep) || !in.Number(n[1], digits[1])) return false;
    const TDateOrder order = DateOrder();
    int year = CurrentYear(), yearDigits = 4, month, day;
    size_t before = in.Pos();
    if (in.Char(sep) && in.Number(n[2], digits[2])) {
        year = n[order.Year];
        yearDigits = digits[order.Year];
        month = n[order.Month];
        day = n[order.Day];
    } else {
        in.Pos() = before; // two numbers: month and day in the format's order
        bool dayFirst = order.Day < order.Month;
        month = dayFirst ? n[1] : n[0];
        day = dayFirst ? n[0] : n[1];
    }
    if (yearDigits <= 2 && year < 100) {
        const int current = CurrentYear();
        year += current - current % 100;
        if (year > current + 50) year -= 100;
    }
    return TryEncodeDate(year, month, day, out);
}

bool ScanAmPm(TScanner& in, int& half) {
    const TFormatSettings& fs = FormatSettings();
    if (in.Text(fs.TimeAMString) || in.Text("AM"))
        half = 1;
    else if (in.Text(fs.TimePMString) || in.Text("PM"))
        half = 2;
    return half != 0;
}

bool ScanTime(TScanner& in, TDateTime& out) {
    const char sep = FormatSettings().TimeSeparator;
    int half = 0, hour = 0, min = 0, sec = 0, msec = 0, digits;
    ScanAmPm(in, half);
    if (!in.Number(hour, digits)) return false;
    if (in.Char(sep)) {
        if (!in.Number(min, digits)) return false;
        if (in.Char(sep)) {
            if (!in.Number(sec, digits)) return false;
            if (in.Char(FormatSettings().DecimalSeparator) && !in.Number(msec, digits))
                return false;
        }
    }
    if (half == 0) ScanAmPm(in, half);
    if (half != 0) {
        if (hour > 12 || hour == 0) return false;
        hour = hour % 12 + (half == 2 ? 12 : 0);
    }
    if (hour > 23 || min > 59 || sec > 59 || msec > 999) return false;
    out = EncodeTime(hour, min, sec, msec);
    return true;
}

} // namespace

bool TryStrToDate(const std::string& s, TDateTime& out) {
    TScanner in(s);
    TDateTime dt;
    if (!ScanDate(in, dt) || !in.AtEnd()) return false;
    out = dt;
    return true;
}

bool TryStrToTime(const std::string& s, TDateTime& out) {
    TScanner in(s);
    TDateTime dt;
    if (!ScanTime(in, dt) || !in.AtEnd()) return false;
    out = dt;
    return true;
}

bool TryStrToDateTime(const std::string& s, TDateTime& out) {
    TScanner in(s);
    TDateTime date = 0, time = 0;
    if (!ScanDate(in, date)) return TryStrToTime(s, out);
    if (!in.AtEnd() && (!ScanTime(in, time) || !in.AtEnd())) return false;
    out = date + time;
    return true;
}

TDateTime StrToDate(const std::string& s) {
    TDateTime dt;
    if (!TryStrToDate(s, dt)) throw EConvertError("'" + s + "' is not a valid date");
    return dt;
}

TDateTime StrToTime(const std::string& s) {
    TDateTime dt;
    if (!TryStrToTime(s, dt)) throw EConvertError("'" + s + "' is not a valid time");
    return dt;
}

TDateTime StrToDateTime(const std::string& s) {
    TDateTime dt;
    if (!TryStrToDateTime(s, dt)) throw EConvertError("'" + s + "' is not a valid date and time");
    return dt;
}
