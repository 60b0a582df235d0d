#pragma once
// Shuts down, restarts or logs off Windows through ExitWindowsEx, holding the
// shutdown privilege for the call. Main thread.
#include "classlib/gui/Classes.h"
#include "classlib/gui/Platform.h"
#include <functional>
#include <string>
#include <windows.h>

// winuser.h defines ExitWindows as a macro; the name here is the member.
#undef ExitWindows

enum TBootType { btShutDown, btRestart, btLogOff };

class TPcBoot : public TComponent {
public:
    explicit TPcBoot(TComponent* owner = nullptr) : TComponent(owner) {}

    TBootType BootType = btShutDown;
    bool ForceBoot = false;

    // True when Windows accepted the request.
    bool Execute();
    bool ExitWindows(UINT flags);
    static bool SetPrivilege(const std::string& name, bool enable);
};
