#include "engine/tools/PcBoot.h"

#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"

namespace {
const char* const ShutdownPrivilege = "SeShutdownPrivilege"; // SE_SHUTDOWN_NAME
} // namespace

bool TPcBoot::Execute() {
    static const UINT flags[3][2] = {
        {EWX_SHUTDOWN | EWX_POWEROFF, EWX_SHUTDOWN | EWX_POWEROFF | EWX_FORCE},
        {EWX_REBOOT, EWX_REBOOT | EWX_FORCE},
        {EWX_LOGOFF, EWX_LOGOFF | EWX_FORCE},
    };
    return ExitWindows(flags[BootType][ForceBoot ? 1 : 0]);
}

bool TPcBoot::ExitWindows(UINT flags) {
    SetPrivilege(ShutdownPrivilege, true);
    const bool accepted = ExitWindowsCall(flags);
    SetPrivilege(ShutdownPrivilege, false);
    return accepted;
}

bool TPcBoot::SetPrivilege(const std::string& name, bool enable) {
    TKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Out()))
        return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    if (!LookupPrivilegeValueW(nullptr, ToWide(name).c_str(), &privileges.Privileges[0].Luid))
        return false;
    privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    return AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
}
