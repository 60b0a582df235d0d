#include "engine/tools/Scheduler.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Platform.h"
#include <cmath>
#include <memory>

namespace {

constexpr double MsPerDay = 86400000.0;
constexpr int64_t MsPerMinute = 60000;
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
        LastRun = Value ? ClockQuery() : 0;
        FCountStart = Value;
    }
    FEnabled = Value;
    Timer->SetEnabled(Value);
}

void TScheduler::TimerTick() {
    const TDateTime now = ClockQuery();
    if (!IsDue(now)) return;
    LastRun = now;
    FCountStart = false;
    if (OnSchedule) OnSchedule(this);
}

bool TScheduler::IsDue(TDateTime At) const {
    TDateTime next = 0;
    switch (Kind) {
    case skOnce: return At > OnceDate && OnceDate > LastRun;
    case skEvery:
        return EveryMinutes > 0 &&
               std::llabs(MillisecondsFrom(LastRun, At)) / MsPerMinute >= EveryMinutes;
    case skHourly: {
        const int64_t minutes = int64_t{HourlyHours} * 60 + HourlyMinutes;
        return minutes > 0 && MillisecondsFrom(LastRun, At) >= minutes * MsPerMinute;
    }
    case skDaily: next = NextDailyRun(); break;
    case skWeekly: next = NextWeeklyRun(); break;
    case skMonthly: next = NextMonthlyRun(); break;
    default: return false;
    }
    return next != 0 && MillisecondsFrom(next, At) >= 0;
}

bool TScheduler::FirstOfCount(TDateTime Moment) const {
    return FCountStart && MillisecondsFrom(LastRun, Moment) >= 0;
}

// The time of day on the day of the count's start when still ahead, else DailyDays
// calendar days after the day of LastRun.
TDateTime TScheduler::NextDailyRun() const {
    if (DailyDays < 1) return 0;
    const TDateTime sameDay = static_cast<double>(DayOf(LastRun)) + TimeOfDay(DailyTime);
    if (FirstOfCount(sameDay)) return sameDay;
    return static_cast<double>(DayOf(LastRun) + DailyDays) + TimeOfDay(DailyTime);
}

// A chosen day later in the week of LastRun (or that day, still ahead of the count's
// start), else one in the week WeeklyWeeks on.
TDateTime TScheduler::NextWeeklyRun() const {
    if (WeeklyWeeks < 1) return 0;
    const int64_t lastDay = DayOf(LastRun);
    const int64_t monday = lastDay - (IsoDayOfWeek(lastDay) - 1);
    for (const int64_t week : {int64_t{0}, int64_t{WeeklyWeeks}}) {
        for (int weekday = 0; weekday < 7; ++weekday) {
            const int64_t day = monday + 7 * week + weekday;
            const TDateTime moment = static_cast<double>(day) + TimeOfDay(WeeklyTime);
            if (WeeklyDays[weekday] && (day > lastDay || FirstOfCount(moment))) return moment;
        }
    }
    return 0;
}

// The first month after the month of LastRun that holds the chosen day; the month of
// the count's start when its day is still ahead.
TDateTime TScheduler::NextMonthlyRun() const {
    int year = 0, month = 0, day = 0;
    DecodeDate(LastRun, year, month, day);
    if (const int due = MonthlyDayIn(year, month)) {
        const TDateTime moment = EncodeDate(year, month, due) + TimeOfDay(MonthlyTime);
        if (FirstOfCount(moment)) return moment;
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
