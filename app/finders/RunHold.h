#pragma once
// Lets the outside-in tests press Stop while a search or "Del &All" surely runs. With
// TW_HOLD_EVENT naming an event (only those tests set it), each item of a run after
// its first waits while that event is not signalled, until the run stops. Without it
// nothing waits.
#include "classlib/base/Handle.h"
#include <atomic>
#include <functional>

class TRunHold {
public:
    TRunHold(); // at the start of each run
    // On the thread that does the item, before it: false once the run has stopped.
    bool Proceed(const std::function<bool()>& stopped);

private:
    TKernelHandle FEvent;
    std::atomic<bool> FFirst{true};
};
