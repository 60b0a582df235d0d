#include "engine/tools/Scheduler.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Platform.h"
#include <cmath>
#include <memory>

namespace {

constexpr double MsPerDay = 86400000.0;
constexpr unsigned TickInterval = 1000;

// Signed milliseconds from a to b, so that equal moments compare equal.
int64_t MillisecondsFrom(TDateTime a, TDateTime b) {
    return std::llround((b - a) * MsPerDay);
}

int64_t DayOf(TDateTime t) {
    return static_cast<int64_t>(std::floor(t));
}
TDateTime TimeOfDay(TDateTime t) {
    return t - std::floor(t);
}

// 1 Monday to 7 Sunday; day 0 (30 December 1899) was a Saturday.
int IsoDayOfWeek(int64_t day) {
    return static_cast<int>(((day + 5) % 7 + 7) % 7) + 1;
}

// The index-th given weekday of a month (1 to 4), or its last one (5); 0 when none.
int NthWeekdayOfMonth(int year, int month, int index, int dayOfWeek) {
    if (index < 1 || index > 5 || dayOfWeek < 1 || dayOfWeek > 7) return 0;
    const int64_t first = DayOf(EncodeDate(year, month, 1));
    const int days = DaysInAMonth(year, month);
    if (index == 5) {
        const int back = (IsoDayOfWeek(first + days - 1) - dayOfWeek + 7) % 7;
        return days - back;
    }
    return 1 + (dayOfWeek - IsoDayOfWeek(first) + 7) % 7 + 7 * (index - 1);
}

bool NotBefore(TDateTime moment, TDateTime from) {
    return MillisecondsFrom(from, moment) >= 0;
}

// The moment a period of minutes after from; 0 (never) for a period of 0 or less.
TDateTime AfterMinutes(TDateTime from, int64_t minutes) {
    return minutes > 0 ? from + static_cast<double>(minutes) / 1440 : 0;
}

} // namespace

TScheduler::TScheduler() : Timer(std::make_unique<TTimer>(nullptr)) {
    Timer->SetEnabled(false);
    Timer->SetInterval(TickInterval);
    Timer->SetOnTimer([this](TObject*) { TimerTick(); });
    SetDefaults();
    OnceDate = Date();
    DailyTime = WeeklyTime = MonthlyTime = 0;
}

TScheduler::~TScheduler() = default;

void TScheduler::SetDefaults() {
    SetEnabled(false);
    const TDateTime now = ClockQuery();
    Kind = skOnce;
    LastRun = 0;
    OnceDate = std::floor(now);
    EveryMinutes = 15;
    HourlyHours = 1;
    HourlyMinutes = 0;
    DailyDays = 1;
    DailyTime = WeeklyTime = MonthlyTime = TimeOfDay(now);
    WeeklyWeeks = 1;
    WeeklyDays.fill(false);
    MonthlyAtDay = true;
    MonthlyDay = MonthlyDayIndexOf = MonthlyDayOf = 1;
    MonthlyMonths.fill(false);
}

void TScheduler::SetEnabled(bool Value) {
    if (!FEnabled) {
        LastRun = 0;
        FCountFrom = Value ? ClockQuery() : 0;
    }
    FEnabled = Value;
    Timer->SetEnabled(Value);
}

// A loaded schedule keeps its last run; the count of this start only stands in for
// the runs missed meanwhile.
void TScheduler::Resume(bool Value) {
    const TDateTime lastRun = LastRun;
    SetEnabled(Value);
    if (Value) LastRun = lastRun;
}

void TScheduler::TimerTick() {
    if (!OnSchedule) return; // nothing counts before the run has its handler
    const TDateTime now = ClockQuery();
    // After the clock was set back, a run or a count's start ahead of it counts as now.
    if (LastRun > now) LastRun = now;
    if (FCountFrom > now) FCountFrom = now;
    if (!IsDue(now)) return;
    LastRun = now;
    FCountFrom = 0;
    OnSchedule(this);
}

bool TScheduler::IsDue(TDateTime At) const {
    if (Kind == skOnce) return At > OnceDate && OnceDate > LastRun && OnceDate > FCountFrom;
    const TDateTime next = NextRun();
    return next != 0 && MillisecondsFrom(next, At) >= 0;
}

// The first moment after the last run; when that lies before the count's start (a
// run missed while the program was not running), the first moment of the count.
TDateTime TScheduler::NextRun() const {
    if (LastRun != 0) {
        const TDateTime next = NextAfter(LastRun, false);
        if (FCountFrom == 0 || next == 0 || MillisecondsFrom(FCountFrom, next) >= 0) return next;
    }
    return FCountFrom != 0 ? NextAfter(FCountFrom, true) : 0;
}

TDateTime TScheduler::NextAfter(TDateTime From, bool CountStart) const {
    switch (Kind) {
    case skEvery: return AfterMinutes(From, EveryMinutes);
    case skHourly: return AfterMinutes(From, int64_t{HourlyHours} * 60 + HourlyMinutes);
    case skDaily: return NextDailyRun(From, CountStart);
    case skWeekly: return NextWeeklyRun(From, CountStart);
    case skMonthly: return NextMonthlyRun(From, CountStart);
    default: return 0;
    }
}

// The time of day on the day of the count's start when still ahead, else DailyDays
// calendar days after the day of From.
TDateTime TScheduler::NextDailyRun(TDateTime From, bool CountStart) const {
    if (DailyDays < 1) return 0;
    const TDateTime sameDay = static_cast<double>(DayOf(From)) + TimeOfDay(DailyTime);
    if (CountStart && NotBefore(sameDay, From)) return sameDay;
    return static_cast<double>(DayOf(From) + DailyDays) + TimeOfDay(DailyTime);
}

// A chosen day later in the week of From (or that day, still ahead of the count's
// start), else one in the week WeeklyWeeks on.
TDateTime TScheduler::NextWeeklyRun(TDateTime From, bool CountStart) const {
    if (WeeklyWeeks < 1) return 0;
    const int64_t fromDay = DayOf(From);
    const int64_t monday = fromDay - (IsoDayOfWeek(fromDay) - 1);
    for (const int64_t week : {int64_t{0}, int64_t{WeeklyWeeks}}) {
        for (int weekday = 0; weekday < 7; ++weekday) {
            const int64_t day = monday + 7 * week + weekday;
            const TDateTime moment = static_cast<double>(day) + TimeOfDay(WeeklyTime);
            if (WeeklyDays[weekday] && (day > fromDay || (CountStart && NotBefore(moment, From))))
                return moment;
        }
    }
    return 0;
}

// The first month after the month of From that holds the chosen day; the month of
// the count's start when its day is still ahead.
TDateTime TScheduler::NextMonthlyRun(TDateTime From, bool CountStart) const {
    int year = 0, month = 0, day = 0;
    DecodeDate(From, year, month, day);
    if (const int due = MonthlyDayIn(year, month)) {
        const TDateTime moment = EncodeDate(year, month, due) + TimeOfDay(MonthlyTime);
        if (CountStart && NotBefore(moment, From)) return moment;
    }
    for (int i = 0; i < 48; ++i) { // every day 1 to 31 occurs within four years
        if (++month > 12) {
            month = 1;
            ++year;
        }
        const int due = MonthlyDayIn(year, month);
        if (due) return EncodeDate(year, month, due) + TimeOfDay(MonthlyTime);
    }
    return 0;
}

int TScheduler::MonthlyDayIn(int Year, int Month) const {
    if (MonthlyAtDay)
        return MonthlyDay >= 1 && MonthlyDay <= DaysInAMonth(Year, Month) ? MonthlyDay : 0;
    if (!MonthlyMonths[Month - 1]) return 0;
    return NthWeekdayOfMonth(Year, Month, MonthlyDayIndexOf, MonthlyDayOf);
}
