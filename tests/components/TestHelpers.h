#pragma once
// Helpers of the component tests: a scratch folder and a message pump with a time limit.
#include "classlib/base/SysUtils.h"
#include <functional>
#include <string>
#include <windows.h>

// A fresh folder under %TEMP%, removed with its contents at the end of the scope.
class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    [[nodiscard]] const std::string& Path() const { return FPath; } // ends in "\"
    // Creates the file (and its folders) below the folder; returns its full name.
    std::string Write(const std::string& relative, const std::string& content = "x") const;

private:
    std::string FPath;
};

// Dispatches messages until done() holds or timeoutMs passes; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
