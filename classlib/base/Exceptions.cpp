#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"

void RaiseLastOSError() {
    RaiseOSError(GetLastError());
}

void RaiseOSError(DWORD code) {
    if (code == ERROR_SUCCESS) throw EOSError("A call to an OS function failed", code);
    throw EOSError(Format("System Error.  Code: %lu.\r\n%s", static_cast<unsigned long>(code),
                          SysErrorMessage(code).c_str()),
                   code);
}

void OleCheck(HRESULT hr) {
    if (FAILED(hr)) RaiseOSError(static_cast<DWORD>(hr));
}
