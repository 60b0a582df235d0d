#pragma once
// Replaces the clock the scheduler goes by for the lifetime of the object.
#include "classlib/gui/Platform.h"
#include <functional>
#include <utility>

class TClockOverride {
public:
    explicit TClockOverride(std::function<TDateTime()> clock) { ClockQuery = std::move(clock); }
    ~TClockOverride() { ClockQuery = PlatformClock; }
    TClockOverride(const TClockOverride&) = delete;
    TClockOverride& operator=(const TClockOverride&) = delete;
};
