#pragma once
// Puts a skin stream (u32 length and packed skin) into a copy of the program's exe, in
// place of the SKINSTREAM resource it was built with.
#include "classlib/base/SysUtils.h"
#include <string>
#include <windows.h>

inline bool PutExeSkin(const std::string& exe, const std::string& stream) {
    const std::wstring path = ToWide(exe);
    WORD language = 0;
    HMODULE image = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!image) return false;
    EnumResourceLanguagesW(
        image, MAKEINTRESOURCEW(10), L"SKINSTREAM", // RT_RCDATA
        [](HMODULE, LPCWSTR, LPCWSTR, WORD found, LONG_PTR param) -> BOOL {
            *reinterpret_cast<WORD*>(param) = found;
            return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&language));
    FreeLibrary(image);
    HANDLE update = BeginUpdateResourceW(path.c_str(), FALSE);
    if (!update) return false;
    const bool put =
        UpdateResourceW(update, MAKEINTRESOURCEW(10), L"SKINSTREAM", language,
                        const_cast<char*>(stream.data()), static_cast<DWORD>(stream.size()));
    return EndUpdateResourceW(update, !put) && put;
}
