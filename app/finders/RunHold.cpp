#include "app/finders/RunHold.h"

namespace {
// A hold that no one ends lets the run go on after this long: a test cannot hang it.
constexpr DWORD LongestHold = 30000;
} // namespace

TRunHold::TRunHold() {
    wchar_t name[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TW_HOLD_EVENT", name, MAX_PATH) > 0)
        FEvent.Reset(OpenEventW(SYNCHRONIZE, FALSE, name));
}

bool TRunHold::Proceed(const std::function<bool()>& stopped) {
    if (FEvent && !FFirst.exchange(false)) {
        const DWORD start = GetTickCount();
        while (!stopped() && GetTickCount() - start < LongestHold &&
               WaitForSingleObject(FEvent.Get(), 10) == WAIT_TIMEOUT) {
        }
    }
    return !stopped();
}
