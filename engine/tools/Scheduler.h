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
    TDateTime LastRun = 0; // the last firing, kept in "prefs.dat"; 0 = none yet
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
    // Switching on from off starts the count afresh at the clock's moment, without a
    // last run; the timer runs exactly while enabled.
    void SetEnabled(bool Value);
    void SetDefaults();
    // The check: fires OnSchedule when due. Does nothing while OnSchedule is unset.
    void TimerTick();
    [[nodiscard]] bool IsDue(TDateTime At) const;

private:
    // Switches on from the file: like SetEnabled, but the last run read stays.
    void Resume(bool Value);
    // The moment the schedule is next due; 0 when it never is.
    [[nodiscard]] TDateTime NextRun() const;
    // The first moment of the every, hourly, daily, weekly or monthly schedule after a
    // run at From, or from a count started at From; 0 when it never is.
    [[nodiscard]] TDateTime NextAfter(TDateTime From, bool CountStart) const;
    [[nodiscard]] TDateTime NextDailyRun(TDateTime From, bool CountStart) const;
    [[nodiscard]] TDateTime NextWeeklyRun(TDateTime From, bool CountStart) const;
    [[nodiscard]] TDateTime NextMonthlyRun(TDateTime From, bool CountStart) const;
    [[nodiscard]] int MonthlyDayIn(int Year, int Month) const; // 0 when none

    bool FEnabled = false;
    // The start of the count: switched on, or this start of the program; 0 when none.
    // The first run of a count is the first scheduled moment from it.
    TDateTime FCountFrom = 0;
};
