#include "app/FinishingMode.h"
#include "app/NormalMode.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "engine/wipe/WipeMethodsManager.h"
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        Application->Initialize();
        // The global wipe-methods manager is created and loaded here, before either
        // mode runs, and saved and freed after it.
        const TWipeMethodsManagerLifetime wipeMethods;
        std::vector<std::string> params;
        for (int i = 1; i <= ParamCount(); ++i)
            params.push_back(ParamStr(i));
        if (IsFinishingMode(params))
            RunFinishingMode();
        else
            RunNormalMode();
    } catch (...) {
        // Whatever escapes ends the program without a message.
        LogSwallowed("WinMain");
    }
    return 0;
}
