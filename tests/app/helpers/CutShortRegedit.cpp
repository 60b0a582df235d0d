// A stand-in for regedit.exe in the registry backup tests. "/e file key" writes the
// file in UTF-16 as regedit does: whole for every key but HKEY_USERS, whose last entry
// is cut short after a continued line, as a write that failed leaves it. It ends with
// 0 either way, as regedit does under Wine.
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 4 || std::strcmp(argv[1], "/e") != 0) return 0;
    const std::string key = argv[3];
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[" + key +
                       "\\Tarnwhistle]\r\n\"Value\"=hex:00,01,\\\r\n";
    if (key != "HKEY_USERS") text += "  02,03\r\n\r\n";
    std::FILE* file = std::fopen(argv[2], "wb");
    if (!file) return 0;
    std::fputs("\xFF\xFE", file);
    for (char c : text) {
        std::fputc(c, file);
        std::fputc(0, file);
    }
    std::fclose(file);
    return 0;
}
