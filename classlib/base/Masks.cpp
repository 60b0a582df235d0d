#include "classlib/base/Masks.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"
#include <utility>
#include <vector>

namespace {

// Masks match characters: plain ASCII byte by byte, anything else by code point.
using TChar = char32_t;

TChar Unsigned(char c) {
    return static_cast<unsigned char>(c);
}

TChar Unsigned(char32_t c) {
    return c;
}

std::u32string CodePoints(const std::string& s) {
    const std::wstring w = ToWide(s);
    std::u32string r;
    r.reserve(w.size());
    for (size_t i = 0; i < w.size(); ++i) {
        const char32_t c = w[i];
        const bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < w.size() && w[i + 1] >= 0xDC00 &&
                          w[i + 1] < 0xE000;
        r += pair ? 0x10000 + ((c - 0xD800) << 10) + (w[++i] - 0xDC00) : c;
    }
    return r;
}

struct TMaskToken {
    enum TKind { Literal, AnyChar, AnyRun, Set } Kind = Literal;
    TChar Char = 0;
    bool Negated = false;
    std::vector<std::pair<TChar, TChar>> Ranges;

    [[nodiscard]] bool Matches(TChar c) const {
        switch (Kind) {
        case Literal: return c == Char;
        case AnyChar: return true;
        case Set:
            for (auto [low, high] : Ranges)
                if (c >= low && c <= high) return !Negated;
            return Negated;
        default: return false;
        }
    }
};

// Parses one "[...]" set starting after the "["; returns the position after "]".
template <class S>
size_t ParseSet(const S& mask, size_t i, const std::string& original, TMaskToken& token) {
    token.Kind = TMaskToken::Set;
    if (i < mask.size() && mask[i] == '!') {
        token.Negated = true;
        ++i;
    }
    while (i < mask.size() && mask[i] != ']') {
        TChar low = Unsigned(mask[i]), high = low;
        if (i + 2 < mask.size() && mask[i + 1] == '-' && mask[i + 2] != ']') {
            high = Unsigned(mask[i + 2]);
            i += 2;
        }
        token.Ranges.emplace_back(low, high);
        ++i;
    }
    if (i >= mask.size())
        throw EMaskException("'" + original + "' is an invalid mask at (" + IntToStr(i + 1) + ")");
    return i + 1;
}

template <class S> std::vector<TMaskToken> Compile(const S& mask, const std::string& original) {
    std::vector<TMaskToken> tokens;
    for (size_t i = 0; i < mask.size();) {
        TMaskToken token;
        const TChar c = Unsigned(mask[i++]);
        if (c == '*') {
            if (!tokens.empty() && tokens.back().Kind == TMaskToken::AnyRun) continue;
            token.Kind = TMaskToken::AnyRun;
        } else if (c == '?') {
            token.Kind = TMaskToken::AnyChar;
        } else if (c == '[') {
            i = ParseSet(mask, i, original, token);
        } else {
            token.Char = c;
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

// Greedy match with one backtrack point: the last "*" seen.
template <class S> bool Match(const std::vector<TMaskToken>& tokens, const S& name) {
    size_t t = 0, n = 0;
    size_t starToken = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (t < tokens.size() && tokens[t].Kind == TMaskToken::AnyRun) {
            starToken = t++;
            starName = n;
        } else if (t < tokens.size() && tokens[t].Matches(Unsigned(name[n]))) {
            ++t;
            ++n;
        } else if (starToken != std::string::npos) {
            t = starToken + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (t < tokens.size() && tokens[t].Kind == TMaskToken::AnyRun)
        ++t;
    return t == tokens.size();
}

template <class S> bool MatchesFolded(const S& name, S pattern, const std::string& mask) {
    // A final "." stands for "no extension" ("*." and "rb*.").
    if (!pattern.empty() && pattern.back() == '.') {
        pattern.pop_back();
        std::vector<TMaskToken> tokens = Compile(pattern, mask);
        return name.find('.') == std::string::npos && Match(tokens, name);
    }
    std::vector<TMaskToken> tokens = Compile(pattern, mask);
    if (Match(tokens, name)) return true;
    // A final ".*" also matches a name without extension ("*.*" is every file).
    const size_t n = pattern.size();
    if (n >= 2 && pattern[n - 2] == '.' && pattern[n - 1] == '*' &&
        name.find('.') == std::string::npos) {
        tokens.resize(tokens.size() - 2);
        return Match(tokens, name);
    }
    return false;
}

} // namespace

bool MatchesMask(const std::string& fileName, const std::string& mask) {
    const std::string name = UpperCase(fileName), pattern = UpperCase(mask);
    if (IsAscii(name) && IsAscii(pattern)) return MatchesFolded(name, pattern, mask);
    return MatchesFolded(CodePoints(name), CodePoints(pattern), mask);
}
