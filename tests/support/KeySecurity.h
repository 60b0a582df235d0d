#pragma once
// Access rules for keys of the user's hive, to make the registry refuse a write.
#include <gtest/gtest.h>
#include <sddl.h>
#include <windows.h>

// Replaces the access rules of the key with those of the SDDL text.
inline void SetKeySecurity(const char* key, const wchar_t* sddl) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, WRITE_DAC, &handle), ERROR_SUCCESS);
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(
        ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr));
    EXPECT_EQ(RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
    LocalFree(sd);
    RegCloseKey(handle);
}

// Everyone may read the key but not set its values or make subkeys.
inline const wchar_t* const ReadOnlyKeyRules = L"D:(D;;0x6;;;WD)(A;;KA;;;WD)";
inline const wchar_t* const OpenKeyRules = L"D:(A;;KA;;;WD)";
