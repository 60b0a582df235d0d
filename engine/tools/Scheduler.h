#pragma once
// Starts cleaning runs by the clock: one schedule of one of six kinds, checked once a
// second while enabled; OnSchedule fires when it is due. Main thread only: the check
// runs from a window-message timer, so the thread must run a message loop.
#include "classlib/base/DateUtils.h"
#include "classlib/base/XMLDoc.h"
#include "classlib/gui/Timer.h"
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

enum TScheduleKind : uint8_t {
    skOnce = 0,
    skEvery = 1,
    skHourly = 2,
    skDaily = 3,
    skWeekly = 4,
    skMonthly = 5, // any other value never fires
};

class TScheduler {
public:
    TScheduler();
    virtual ~TScheduler();
    TScheduler(const TScheduler&) = delete;
    TScheduler& operator=(const TScheduler&) = delete;

    // The element "Scheduler" below Parent. Loading stops at the first missing element
    // or unreadable number or Boolean (EConvertError, EXMLDocError) and then leaves the
    // schedule off; the date and time values are read in protected steps.
    virtual void LoadFromXML(const TXMLNode& Parent);
    virtual void SaveToXML(TXMLNode Parent) const;

    // Fired inside the tick when the schedule is due; main thread.
    std::function<void(TScheduler* Sender)> OnSchedule;
    // Ticks TimerTick every second, enabled exactly while Enabled(): switch it only
    // through SetEnabled. What OnSchedule raises goes to Application->HandleException.
    const std::unique_ptr<TTimer> Timer;

    uint8_t Kind = skOnce;
    TDateTime LastRun = 0; // last firing or start of the count; 0 while off
    TDateTime OnceDate = 0;
    int EveryMinutes = 15; // 0 or less never fires
    int HourlyHours = 1;
    int HourlyMinutes = 0;
    int DailyDays = 1;
    TDateTime DailyTime = 0;
    int WeeklyWeeks = 1;
    TDateTime WeeklyTime = 0;
    std::array<bool, 7> WeeklyDays{}; // Monday first
    TDateTime MonthlyTime = 0;
    bool MonthlyAtDay = true; // on day MonthlyDay, else on the n-th weekday
    int MonthlyDay = 1;
    int MonthlyDayIndexOf = 1;            // 1 to 4, 5 = the last one of the month
    int MonthlyDayOf = 1;                 // 1 Monday to 7 Sunday
    std::array<bool, 12> MonthlyMonths{}; // January first; the n-th weekday form only

    [[nodiscard]] bool Enabled() const { return FEnabled; }
    // Switching on from off (loading an enabled schedule too) starts the count at the
    // clock's moment; the timer runs exactly while enabled.
    void SetEnabled(bool Value);
    void SetDefaults();
    // The check: fires OnSchedule when due.
    void TimerTick();
    [[nodiscard]] bool IsDue(TDateTime At) const;

private:
    // The next moment at which the daily, weekly or monthly schedule is due after a
    // run, or from the count's start; 0 when it never is.
    [[nodiscard]] TDateTime NextDailyRun() const;
    [[nodiscard]] TDateTime NextWeeklyRun() const;
    [[nodiscard]] TDateTime NextMonthlyRun() const;
    [[nodiscard]] int MonthlyDayIn(int Year, int Month) const; // 0 when none
    // True for a moment not before the count's start while no run followed it: the
    // first run of a count is the first scheduled moment from its start.
    [[nodiscard]] bool FirstOfCount(TDateTime Moment) const;

    bool FEnabled = false;
    bool FCountStart = false; // LastRun is the start of the count, not a run
};
