#pragma once
// Making shell shortcuts for the tests, and the user's Startup folder.
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include <gtest/gtest.h>
#include <shlobj.h>
#include <string>

inline std::string UserStartupFolder() {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return path;
}

inline void MakeShortcut(const std::string& file, const std::string& target,
                         const std::string& args) {
    TCoInitScope com;
    TComPtr<IShellLinkA> link;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkA, link.OutVoid())));
    link->SetPath(target.c_str());
    link->SetArguments(args.c_str());
    TComPtr<IPersistFile> persist;
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, persist.OutVoid())));
    ASSERT_TRUE(SUCCEEDED(persist->Save(ToWide(file).c_str(), TRUE)));
}
