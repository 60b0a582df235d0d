#include "classlib/base/Masks.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"
#include <utility>
#include <vector>

namespace {

struct TMaskToken {
    enum TKind { Literal, AnyChar, AnyRun, Set } Kind = Literal;
    unsigned char Char = 0;
    bool Negated = false;
    std::vector<std::pair<unsigned char, unsigned char>> Ranges;

    [[nodiscard]] bool Matches(unsigned char c) const {
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
size_t ParseSet(const std::string& mask, size_t i, const std::string& original, TMaskToken& token) {
    token.Kind = TMaskToken::Set;
    if (i < mask.size() && mask[i] == '!') {
        token.Negated = true;
        ++i;
    }
    while (i < mask.size() && mask[i] != ']') {
        unsigned char low = mask[i], high = low;
        if (i + 2 < mask.size() && mask[i + 1] == '-' && mask[i + 2] != ']') {
            high = mask[i + 2];
            i += 2;
        }
        token.Ranges.emplace_back(low, high);
        ++i;
    }
    if (i >= mask.size())
        throw EMaskException("'" + original + "' is an invalid mask at (" + IntToStr(i + 1) + ")");
    return i + 1;
}

std::vector<TMaskToken> Compile(const std::string& mask, const std::string& original) {
    std::vector<TMaskToken> tokens;
    for (size_t i = 0; i < mask.size();) {
        TMaskToken token;
        char c = mask[i++];
        if (c == '*') {
            if (!tokens.empty() && tokens.back().Kind == TMaskToken::AnyRun) continue;
            token.Kind = TMaskToken::AnyRun;
        } else if (c == '?') {
            token.Kind = TMaskToken::AnyChar;
        } else if (c == '[') {
            i = ParseSet(mask, i, original, token);
        } else {
            token.Char = static_cast<unsigned char>(c);
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

// Greedy match with one backtrack point: the last "*" seen.
bool Match(const std::vector<TMaskToken>& tokens, const std::string& name) {
    size_t t = 0, n = 0;
    size_t starToken = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (t < tokens.size() && tokens[t].Kind == TMaskToken::AnyRun) {
            starToken = t++;
            starName = n;
        } else if (t < tokens.size() && tokens[t].Matches(static_cast<unsigned char>(name[n]))) {
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

} // namespace

bool MatchesMask(const std::string& fileName, const std::string& mask) {
    const std::string name = UpperCase(fileName);
    std::string pattern = UpperCase(mask);
    // A final "." stands for "no extension" ("*." and "rb*.").
    if (!pattern.empty() && pattern.back() == '.') {
        pattern.pop_back();
        std::vector<TMaskToken> tokens = Compile(pattern, mask);
        return name.find('.') == std::string::npos && Match(tokens, name);
    }
    std::vector<TMaskToken> tokens = Compile(pattern, mask);
    if (Match(tokens, name)) return true;
    // A final ".*" also matches a name without extension ("*.*" is every file).
    if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0 &&
        name.find('.') == std::string::npos) {
        tokens.resize(tokens.size() - 2);
        return Match(tokens, name);
    }
    return false;
}
