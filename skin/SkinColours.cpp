#include "skin/SkinColours.h"
#include "skin/QuickIni.h"

TColor SkinColorFromText(const std::string& text, TColor def) {
    const std::string_view s = TrimSkinText(text);
    if (s.empty()) return def;
    int channels[3] = {0, 0, 0};
    int filled = 0;
    unsigned number = 0;
    bool inNumber = false;
    for (char c : s) {
        if (c >= '0' && c <= '9') {
            number = (number * 10 + (c - '0')) % 256;
            inNumber = true;
        } else if (inNumber) {
            if (filled < 3) channels[filled++] = static_cast<int>(number);
            number = 0;
            inNumber = false;
        }
    }
    if (inNumber && filled == 2) channels[2] = static_cast<int>(number);
    return RGB(channels[0], channels[1], channels[2]);
}
