#include "engine/wipe/Pass.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Random.h"
#include <algorithm>
#include <utility>

namespace {

// Values from low to high inclusive, each drawn until it is not below low. Inverted
// bounds are taken the other way round, so the draw always ends.
std::string DrawBetween(size_t count, uint8_t low, uint8_t high) {
    if (low > high) std::swap(low, high);
    std::string result(count, '\0');
    FillRandomBytes(reinterpret_cast<uint8_t*>(result.data()), count, low, high);
    return result;
}

} // namespace

std::string FillWithText(const std::string& text, int64_t length) {
    if (text.empty()) throw Exception("The text pattern is empty");
    std::string result;
    if (length <= 0) return result;
    result.reserve(static_cast<size_t>(length));
    while (static_cast<int64_t>(result.size()) + static_cast<int64_t>(text.size()) <= length)
        result += text;
    result.append(text, 0, static_cast<size_t>(length) - result.size());
    return result;
}

bool TPass::HasData() const {
    switch (WipeWith) {
    case wwBytePattern:
    case wwRandomBytes:
    case wwRandomCharacter: return true;
    case wwTextPattern: return !TextPatternValue.empty();
    default: return false;
    }
}

std::string TPass::GetPassData(int64_t length) const {
    const size_t n = length > 0 ? static_cast<size_t>(length) : 0;
    switch (WipeWith) {
    case wwBytePattern: return std::string(n, static_cast<char>(BytePatternValue));
    case wwTextPattern: return FillWithText(TextPatternValue, length);
    case wwRandomBytes: return DrawBetween(n, RandomBytesValue1, RandomBytesValue2);
    case wwRandomCharacter:
        // One draw per buffer, also for an empty one.
        return std::string(n, DrawBetween(1, RandomCharacterValue1, RandomCharacterValue2)[0]);
    default: return {};
    }
}
