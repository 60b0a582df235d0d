#include "classlib/base/SysUtils.h"
#include "classlib/base/DateUtils.h"
#include "classlib/base/Exceptions.h"
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace {

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// UTF-16 upper case, one code unit for one (CharUpperBuffW keeps the length).
std::wstring FoldWide(std::wstring w) {
    if (!w.empty()) CharUpperBuffW(w.data(), static_cast<DWORD>(w.size()));
    return w;
}

bool ParseInt64(const std::string& s, int64_t& v, bool* hex = nullptr) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return false;
    if (hex) *hex = base == 16;
    uint64_t magnitude = 0;
    const char* first = s.data() + i;
    const char* last = s.data() + s.size();
    auto [end, ec] = std::from_chars(first, last, magnitude, base);
    if (ec != std::errc() || end != last) return false;
    const uint64_t limit = negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
    if (magnitude > limit) {
        if (base != 16 || negative) return false;
        // "$FFFFFFFFFFFFFFFF" reads as -1, as the run-time does.
        v = static_cast<int64_t>(magnitude);
        return true;
    }
    v = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

} // namespace

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool IsAscii(const std::string& s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Numbers.

std::string IntToStr(int64_t v) {
    return std::to_string(v);
}

std::string IntToHex(uint64_t v, int digits) {
    std::string r = Format("%llX", static_cast<unsigned long long>(v));
    if (static_cast<int>(r.size()) < digits) r.insert(0, digits - r.size(), '0');
    return r;
}

bool TryStrToInt(const std::string& s, int& v) {
    int64_t wide;
    bool hex = false;
    if (!ParseInt64(s, wide, &hex)) return false;
    // Hex texts of 32 bits wrap as the run-time does ("$FFFFFFFF" is -1).
    if (hex && wide > INT32_MAX && wide <= UINT32_MAX) {
        v = static_cast<int32_t>(static_cast<uint32_t>(wide));
        return true;
    }
    if (wide < INT32_MIN || wide > INT32_MAX) return false;
    v = static_cast<int>(wide);
    return true;
}

int StrToInt(const std::string& s) {
    int v;
    if (!TryStrToInt(s, v)) throw EConvertError("'" + s + "' is not a valid integer value");
    return v;
}

int StrToIntDef(const std::string& s, int def) {
    int v;
    return TryStrToInt(s, v) ? v : def;
}

int64_t StrToInt64(const std::string& s) {
    int64_t v;
    if (!ParseInt64(s, v)) throw EConvertError("'" + s + "' is not a valid integer value");
    return v;
}

int64_t StrToInt64Def(const std::string& s, int64_t def) {
    int64_t v;
    return ParseInt64(s, v) ? v : def;
}

std::string FloatToStrFixed(double v, int decimals) {
    if (!std::isfinite(v)) return Format("%.*f", decimals, v);
    if (decimals < 0) decimals = 0;
    // Enough digits for the exact decimal expansion of the double, so ties are seen as
    // ties: a double below 2^e has at most 53 - e fractional digits (1074 at most).
    int exponent;
    std::frexp(v, &exponent);
    const int precision = std::max(decimals + 1, std::min(53 - exponent, 1074));
    std::string buffer(330 + precision, '\0');
    auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v,
                             std::chars_format::fixed, precision)
                   .ptr;
    std::string digits(buffer.data(), end);
    bool negative = !digits.empty() && digits[0] == '-';
    if (negative) digits.erase(0, 1);
    size_t point = digits.find('.');
    bool roundUp = digits[point + 1 + decimals] >= '5';
    digits.resize(point + 1 + decimals);
    if (roundUp) {
        size_t i = digits.size();
        while (i-- > 0) {
            if (digits[i] == '.') continue;
            if (digits[i] != '9') {
                ++digits[i];
                break;
            }
            digits[i] = '0';
            if (i == 0) digits.insert(0, 1, '1');
        }
    }
    if (negative && digits.find_first_not_of("0.") != std::string::npos) digits.insert(0, 1, '-');
    if (decimals == 0)
        digits.pop_back();
    else
        digits[digits.find('.')] = FormatSettings().DecimalSeparator;
    return digits;
}

std::string Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string r(n > 0 ? n : 0, '\0');
    if (n > 0) vsnprintf(r.data(), n + 1, fmt, args);
    va_end(args);
    return r;
}

// Text.

// Plain ASCII, the common case, is folded here; anything else in UTF-16.
std::string UpperCase(const std::string& s) {
    if (!IsAscii(s)) return ToUtf8(FoldWide(ToWide(s)));
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(), AsciiUpper);
    return r;
}

std::string LowerCase(const std::string& s) {
    if (IsAscii(s)) {
        std::string r(s);
        std::transform(r.begin(), r.end(), r.begin(), AsciiLower);
        return r;
    }
    std::wstring w = ToWide(s);
    CharLowerBuffW(w.data(), static_cast<DWORD>(w.size()));
    return ToUtf8(w);
}

int CompareText(const std::string& a, const std::string& b) {
    if (!IsAscii(a) || !IsAscii(b)) {
        const std::wstring wa = FoldWide(ToWide(a));
        const std::wstring wb = FoldWide(ToWide(b));
        return wa.compare(wb);
    }
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int d = AsciiUpper(a[i]) - AsciiUpper(b[i]);
        if (d != 0) return d;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool SameText(const std::string& a, const std::string& b) {
    // Folding keeps ASCII bytes apart from the rest, so unequal sizes differ only then.
    if (a.size() != b.size() && IsAscii(a) && IsAscii(b)) return false;
    return CompareText(a, b) == 0;
}

std::string TrimLeft(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    return s.substr(i);
}

std::string TrimRight(const std::string& s) {
    size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1]))
        --n;
    return s.substr(0, n);
}

std::string Trim(const std::string& s) {
    return TrimLeft(TrimRight(s));
}

namespace {

// Replaces in s the places where hay (s, maybe folded) holds needle.
template <class S>
S ReplaceFound(const S& s, const S& hay, const S& needle, const S& to, bool all) {
    S r;
    size_t pos = 0;
    while (true) {
        size_t hit = hay.find(needle, pos);
        if (hit == S::npos) break;
        r.append(s, pos, hit - pos).append(to);
        pos = hit + needle.size();
        if (!all) break;
    }
    return r.append(s, pos, S::npos);
}

} // namespace

std::string StringReplace(const std::string& s, const std::string& from, const std::string& to,
                          unsigned flags) {
    if (from.empty()) return s;
    const bool all = flags & rfReplaceAll;
    if (!(flags & rfIgnoreCase)) return ReplaceFound(s, s, from, to, all);
    if (IsAscii(s) && IsAscii(from)) return ReplaceFound(s, UpperCase(s), UpperCase(from), to, all);
    // Folded in UTF-16, where upper and lower case have the same length.
    const std::wstring w = ToWide(s);
    return ToUtf8(ReplaceFound(w, FoldWide(w), FoldWide(ToWide(from)), ToWide(to), all));
}

bool StartsText(const std::string& prefix, const std::string& s) {
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

bool EndsText(const std::string& suffix, const std::string& s) {
    return s.size() >= suffix.size() && SameText(s.substr(s.size() - suffix.size()), suffix);
}

size_t PosText(const std::string& sub, const std::string& s) {
    if (IsAscii(s) && IsAscii(sub)) return UpperCase(s).find(UpperCase(sub));
    const std::wstring w = ToWide(s);
    size_t hit = FoldWide(w).find(FoldWide(ToWide(sub)));
    return hit == std::wstring::npos ? std::string::npos : ToUtf8(w.substr(0, hit)).size();
}

std::vector<std::string> SplitString(const std::string& s, char sep) {
    std::vector<std::string> parts;
    if (s.empty()) return parts;
    size_t start = 0;
    while (true) {
        size_t hit = s.find(sep, start);
        parts.push_back(s.substr(start, hit == std::string::npos ? hit : hit - start));
        if (hit == std::string::npos) break;
        start = hit + 1;
    }
    return parts;
}

namespace {

std::wstring WideFrom(const std::string& bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), n);
    return wide;
}

std::string NarrowTo(const std::wstring& wide, UINT codePage) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), n, nullptr, nullptr);
    return bytes;
}

} // namespace

std::wstring ToWide(const std::string& s) {
    return WideFrom(s, CP_UTF8);
}

std::string ToUtf8(const std::wstring& s) {
    return NarrowTo(s, CP_UTF8);
}

bool ToUtf8Exact(const wchar_t* s, std::string& utf8) {
    const int length = static_cast<int>(wcslen(s));
    int n =
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, s, length, nullptr, 0, nullptr, nullptr);
    if (n == 0 && length > 0) {
        utf8 = ToUtf8(s);
        return false;
    }
    utf8.resize(n);
    WideCharToMultiByte(CP_UTF8, 0, s, length, utf8.data(), n, nullptr, nullptr);
    return true;
}

std::wstring KeepUnits(const std::wstring& s, bool (*keep)(wchar_t), wchar_t replacement) {
    auto high = [](wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; };
    auto low = [](wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
    std::wstring r;
    r.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (high(c) && i + 1 < s.size() && low(s[i + 1])) {
            r += c;
            r += s[++i];
        } else if (!high(c) && !low(c) && keep(c)) {
            r += c;
        } else if (replacement) {
            r += replacement;
        }
    }
    return r;
}

// The conversion's best fit (a Greek omega as "O") comes back as another text.
bool FitsAnsiCodePage(const std::string& s) {
    std::string ansi;
    return IsAscii(s) || ToCodePage(s, CP_ACP, ansi);
}

std::string ToUtf8(const wchar_t* s) {
    return s ? ToUtf8(std::wstring(s)) : std::string();
}

bool IsValidUtf8(const std::string& s) {
    return s.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(),
                                            static_cast<int>(s.size()), nullptr, 0) > 0;
}

bool ToCodePage(const std::string& utf8, UINT codePage, std::string& bytes) {
    const std::wstring wide = ToWide(utf8);
    bytes = NarrowTo(wide, codePage);
    // Exact only when the bytes read back as the same characters: no default
    // character, no best fit.
    return wide.empty() || (!bytes.empty() && WideFrom(bytes, codePage) == wide);
}

std::string FromCodePage(const std::string& bytes, UINT codePage) {
    return ToUtf8(WideFrom(bytes, codePage));
}

// The program.

std::vector<std::string> SplitCommandLine(const std::string& cmdLine) {
    std::vector<std::string> params;
    size_t i = 0;
    const size_t n = cmdLine.size();
    while (true) {
        // Blanks and empty quote pairs between parameters are skipped.
        while (true) {
            while (i < n && IsBlank(cmdLine[i]))
                ++i;
            if (i + 1 < n && cmdLine[i] == '"' && cmdLine[i + 1] == '"')
                i += 2;
            else
                break;
        }
        if (i >= n) break;
        std::string param;
        while (i < n && !IsBlank(cmdLine[i])) {
            if (cmdLine[i] == '"') {
                ++i;
                while (i < n && cmdLine[i] != '"')
                    param += cmdLine[i++];
                if (i < n) ++i;
            } else {
                param += cmdLine[i++];
            }
        }
        params.push_back(param);
    }
    return params;
}

std::string ParamStr(int index) {
    if (index == 0) return GetModuleFileNameStr();
    std::vector<std::string> params = SplitCommandLine(ToUtf8(GetCommandLineW()));
    return index > 0 && index < static_cast<int>(params.size()) ? params[index] : std::string();
}

int ParamCount() {
    std::vector<std::string> params = SplitCommandLine(ToUtf8(GetCommandLineW()));
    return params.empty() ? 0 : static_cast<int>(params.size()) - 1;
}

namespace {

// A module's name is always full, but Wine gives one started by a "\\?\" name without
// that prefix ("unix\home\...", "UNC\server\..."). The name comes back in the form
// every file and shell call takes: "C:\..." and "\\server\..." plain, any other with
// its "\\?\", so that it never means a folder below the current one.
std::string FullModuleName(std::string name) {
    if (StartsText("\\\\?\\", name)) name.erase(0, 4);
    if (StartsText("UNC\\", name)) return std::string("\\").append(name, 3);
    const bool drive = name.size() >= 3 && name[1] == ':' && name[2] == '\\';
    if (drive || name.empty() || StartsText("\\\\", name)) return name;
    return std::string("\\\\?\\").append(name);
}

} // namespace

std::string GetModuleFileNameStr(HMODULE module) {
    std::wstring buffer(MAX_PATH, L'\0');
    while (true) {
        DWORD n = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return FullModuleName(ToUtf8(buffer.substr(0, n)));
        buffer.resize(buffer.size() * 2);
    }
}

std::string SysErrorMessage(DWORD code) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string r = text ? ToUtf8(std::wstring(text, n)) : std::string();
    if (text) LocalFree(text);
    while (!r.empty() && (IsBlank(r.back()) || r.back() == '.'))
        r.pop_back();
    return r;
}
