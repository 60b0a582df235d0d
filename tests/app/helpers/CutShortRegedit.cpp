// A stand-in for regedit.exe: "/e file key" writes the file as regedit does, but cut
// short within its last entry for HKEY_USERS, and ends with 0 as regedit under Wine.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 4) return 0;
    const std::string key = argv[3];
    const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[" + key +
                             "]\r\n\"V\"=hex:00,\\\r\n" + (key == "HKEY_USERS" ? "" : "  02\r\n");
    const std::wstring wide = L"\xFEFF" + std::wstring(text.begin(), text.end()); // UTF-16
    std::FILE* file = std::fopen(argv[2], "wb");
    std::fwrite(wide.data(), sizeof(wchar_t), wide.size(), file);
    std::fclose(file);
}
