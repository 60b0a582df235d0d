#pragma once
// Damaged copies of valid inputs, made from a seed so that each can be made again.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

// Each Damage call applies one to three damages to a copy of the input: cut short
// at any length, bits flipped, bytes put in or taken out, an element or line doubled
// or dropped, a number made huge or out of range, a long run, deep nesting, another
// encoding or byte-order mark, NUL bytes. Damages that need text (elements, lines,
// numbers, values) fall back to byte damage where the input has none.
class TDamager {
public:
    explicit TDamager(uint32_t seed) : FRandom(seed) {}

    // Byte offsets of binary counts (the skin's decoded size) for the huge-count damage.
    std::vector<size_t> CountOffsets;

    std::string Damage(const std::string& input) {
        std::string d = input;
        for (int n = 1 + Below(3) * Below(2); n > 0; --n)
            DamageOnce(d);
        return d;
    }

private:
    size_t Below(size_t n) { return n == 0 ? 0 : FRandom() % n; }
    bool Chance(int percent) { return static_cast<int>(Below(100)) < percent; }
    size_t Pos(const std::string& d) { return Below(d.size() + 1); }

    void DamageOnce(std::string& d) {
        switch (Below(14)) {
        case 0: Truncate(d); break;
        case 1: FlipBits(d); break;
        case 2: d.insert(Pos(d), Token()); break;
        case 3: EraseBytes(d); break;
        case 4: DuplicateUnit(d); break;
        case 5: EraseUnit(d); break;
        case 6: HugeNumber(d); break;
        case 7: d.insert(Pos(d), std::string(HugeSize(), Pick({'a', '<', ' '}))); break;
        case 8: DeepNesting(d); break;
        case 9: Encoding(d); break;
        case 10: NulBytes(d); break;
        case 11: ValueOutOfRange(d); break;
        case 12: d.insert(Pos(d), std::string(1 + Below(64), static_cast<char>(FRandom()))); break;
        default: d.insert(Pos(d), Random(1 + Below(32))); break;
        }
    }

    template <class T> T Pick(std::initializer_list<T> list) {
        return *(list.begin() + Below(list.size()));
    }
    // Mostly a thousand, sometimes 16 KiB, seldom a MiB: large inputs cost the most.
    size_t HugeSize() {
        const size_t r = Below(1000);
        return r < 900 ? 1000 : r < 995 ? 16384 : 1 << 20;
    }
    std::string Random(size_t n) {
        std::string s(n, '\0');
        for (char& c : s)
            c = static_cast<char>(FRandom());
        return s;
    }
    std::string Token() {
        return Pick<const char*>({"<",
                                  ">",
                                  "/",
                                  "\"",
                                  "'",
                                  "=",
                                  "&",
                                  "&#",
                                  "&#x",
                                  "&amp;",
                                  "&#0;",
                                  "&#xD800;",
                                  "&#99999999999;",
                                  "]]>",
                                  "<![CDATA[",
                                  "<!--",
                                  "-->",
                                  "<?xml",
                                  "?>",
                                  "[",
                                  "]",
                                  "\r\n",
                                  "\n",
                                  "\r",
                                  "#13",
                                  "#10",
                                  ";",
                                  "\\",
                                  "%AppData%",
                                  "..\\..\\",
                                  " ",
                                  "\t",
                                  "\xff",
                                  "\xc3",
                                  "\xed\xa0\x80",
                                  "\xc0\xaf",
                                  "\xef\xbb\xbf"});
    }

    // Every length class: empty, a few bytes, anywhere, just short of the end.
    void Truncate(std::string& d) {
        switch (Below(4)) {
        case 0: d.clear(); break;
        case 1: d.resize(std::min(d.size(), Below(8))); break;
        case 2: d.resize(Below(d.size() + 1)); break;
        default: d.resize(d.size() - std::min(d.size(), 1 + Below(8))); break;
        }
    }
    void FlipBits(std::string& d) {
        if (d.empty()) return;
        for (size_t n = 1 + Below(8); n > 0; --n)
            d[Below(d.size())] ^= static_cast<char>(1 << Below(8));
    }
    void EraseBytes(std::string& d) {
        const size_t at = Below(d.size());
        d.erase(at, 1 + Below(Chance(80) ? 8 : 256));
    }

    // A stretch of whole text: from a "<" to a later ">", or one line; [begin, end).
    bool Unit(const std::string& d, size_t& begin, size_t& end) {
        const bool lines = d.find('<') == std::string::npos || Chance(30);
        const char open = lines ? '\n' : '<';
        const size_t from = d.find(open, Below(d.size()));
        if (from == std::string::npos) return false;
        begin = lines ? from + 1 : from;
        // Often a whole element: up to its end tag or the next "<" at the same depth.
        size_t stop = d.find(lines ? '\n' : '>', begin + 1);
        if (!lines && Chance(50)) {
            const size_t next = d.find("</", stop == std::string::npos ? begin : stop);
            if (next != std::string::npos) stop = d.find('>', next);
        }
        end = stop == std::string::npos ? d.size() : stop + 1;
        return true;
    }
    void DuplicateUnit(std::string& d) {
        size_t begin = 0, end = 0;
        if (!Unit(d, begin, end)) return FlipBits(d);
        const std::string unit = d.substr(begin, end - begin);
        std::string copies;
        const size_t limit = HugeSize();
        for (size_t n = Pick<size_t>({1, 2, 10, 1000}); n > 0 && copies.size() < limit; --n)
            copies += unit;
        d.insert(end, copies);
    }
    void EraseUnit(std::string& d) {
        size_t begin = 0, end = 0;
        if (!Unit(d, begin, end)) return EraseBytes(d);
        d.erase(begin, end - begin);
    }

    // A number (a digit run, or a binary count) made huge, negative or overflowing.
    void HugeNumber(std::string& d) {
        if (!CountOffsets.empty() && Chance(70)) {
            const size_t at = CountOffsets[Below(CountOffsets.size())];
            if (at + 4 > d.size()) return;
            const uint32_t value =
                Chance(50)
                    ? static_cast<uint32_t>(FRandom())
                    : Pick<uint32_t>({0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 1 << 20, 1 << 24});
            for (int i = 0; i < 4; ++i)
                d[at + i] = static_cast<char>(value >> (8 * i));
            return;
        }
        size_t begin = d.find_first_of("0123456789", Below(d.size()));
        if (begin == std::string::npos) begin = d.find_first_of("0123456789");
        if (begin == std::string::npos) {
            d.insert(Pos(d), HugeText());
            return;
        }
        const size_t end = std::min(d.find_first_not_of("0123456789", begin), d.size());
        d.replace(begin, end - begin, HugeText());
    }
    std::string HugeText() {
        return Pick<const char*>({"4294967296", "2147483648", "2147483647", "-2147483649",
                                  "-2147483648", "99999999999999999999999", "-1", "256", "65536",
                                  "18446744073709551616", "1e308", "-0", "0x7FFFFFFF", "1.5",
                                  "000000000000000000001", " 12 ", "+7", "NaN"});
    }

    // An attribute value (="..."), or an ini value (=... to the line end), replaced.
    void ValueOutOfRange(std::string& d) {
        const size_t eq = d.find('=', Below(d.size()));
        if (eq == std::string::npos) return HugeNumber(d);
        size_t begin = eq + 1, end = 0;
        if (begin < d.size() && (d[begin] == '"' || d[begin] == '\'')) {
            end = d.find(d[begin], begin + 1);
            ++begin;
        } else {
            end = d.find_first_of("\r\n", begin);
        }
        if (end == std::string::npos) end = d.size();
        const std::string value =
            Chance(60) ? HugeText()
                       : Pick<std::string>({"", "maybe", "True", "false", "\x01", "x:\\", "\\\\",
                                            "..\\..", std::string(5000, '9'), "31/31/31 99:99:99",
                                            "12/31/9999 23:59:59", "01/01/0001", "\xff\xfe"});
        d.replace(begin, end - begin, value);
    }

    void DeepNesting(std::string& d) {
        const size_t depth = HugeSize() / 4;
        const bool tags = d.find('<') != std::string::npos;
        std::string open, close;
        for (size_t n = 0; n < depth; ++n) {
            open += tags ? "<a>" : "[";
            close += tags ? "</a>" : "]";
        }
        size_t at = tags ? d.find('>', Below(d.size())) : std::string::npos;
        at = at == std::string::npos ? Pos(d) : at + 1;
        d.insert(at, Chance(50) ? open + close : open);
    }

    // A byte-order mark, wide characters, another declared encoding, broken UTF-8.
    void Encoding(std::string& d) {
        switch (Below(5)) {
        case 0:
            d.insert(0, Pick<std::string>({"\xef\xbb\xbf", "\xff\xfe", "\xfe\xff",
                                           std::string("\xff\xfe\0\0", 4), "\xef\xbb"}));
            break;
        case 1: { // as UTF-16, with or without its mark
            std::string wide = Chance(50) ? "\xff\xfe" : "";
            for (char c : d)
                wide += std::string{c, '\0'};
            d = wide;
            break;
        }
        case 2: {
            const size_t at = d.find("encoding=");
            const std::string name = Pick<const char*>(
                {"\"UTF-16\"", "\"bogus\"", "\"windows-1252\"", "\"utf-8\"", "\"\"", "'x"});
            if (at != std::string::npos)
                d.replace(at + 9, d.find_first_of(" ?", at + 9) - at - 9, name);
            else
                d.insert(0, "<?xml version=\"1.0\" encoding=" + name + " ?>");
            break;
        }
        case 3: // high bytes as another code page would write them
            for (size_t n = 1 + Below(16); n > 0 && !d.empty(); --n)
                d[Below(d.size())] = static_cast<char>(0x80 + Below(128));
            break;
        default:
            d.insert(Pos(d), Pick<const char*>({"\xc3\x28", "\xed\xa0\x80", "\xf4\x90\x80\x80",
                                                "\xc0\xaf", "\xe2\x82"}));
        }
    }
    void NulBytes(std::string& d) {
        for (size_t n = 1 + Below(4); n > 0; --n) {
            if (!d.empty() && Chance(50))
                d[Below(d.size())] = '\0';
            else
                d.insert(Pos(d), 1, '\0');
        }
    }

    std::mt19937 FRandom;
};
