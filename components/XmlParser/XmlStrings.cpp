#include "components/XmlParser/XmlStrings.h"
#include "classlib/base/Random.h"
#include <cstring>

int PosStr(const std::string& find, const std::string& source, int start) {
    if (find.empty() || source.empty() || start < 1) return 0;
    const size_t from = static_cast<size_t>(start) - 1;
    if (from > source.size() || source.size() - from < find.size()) return 0;
    const size_t at = source.find(find, from);
    return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

std::string ReplaceString(const std::string& source, const std::string& find,
                          const std::string& replace) {
    if (find.empty()) return source;
    size_t count = 0;
    for (size_t at = source.find(find); at != std::string::npos;
         at = source.find(find, at + find.size()))
        ++count;
    if (count == 0) return source;

    std::string result(source.size() - count * find.size() + count * replace.size(), '\0');
    char* out = result.data();
    size_t from = 0;
    for (size_t at = source.find(find); at != std::string::npos; at = source.find(find, from)) {
        std::memcpy(out, source.data() + from, at - from);
        out += at - from;
        std::memcpy(out, replace.data(), replace.size());
        out += replace.size();
        from = at + find.size();
    }
    std::memcpy(out, source.data() + from, source.size() - from);
    return result;
}

namespace {
// At start-up the string routines seed the shared generator with 255 and draw until
// they hold 255 non-zero values below 255. Later draws (random wipe passes) therefore
// follow the same sequence at every program start.
struct TStartupDraws {
    TStartupDraws() {
        RandSeed = 255;
        for (int found = 0; found < 255;)
            if (Random(255) != 0) ++found;
    }
} StartupDraws;
} // namespace
