// The scheduler driven by an injected clock, over a year of ticks for each kind.
#include "engine/tools/Scheduler.h"
#include "classlib/base/Exceptions.h"
#include "support/ClockOverride.h"
#include "support/PumpMessages.h"
#include <cmath>
#include <gtest/gtest.h>

namespace {

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0) {
    return EncodeDate(year, month, day) + EncodeTime(hour, minute, 0, 0);
}

std::string Text(TDateTime t) {
    return FormatDateTime("yyyy-mm-dd hh:nn", t);
}

// Switches the schedule on at start and ticks once a minute (one second past it) for
// the given number of days; returns the firing times.
std::vector<std::string> RunTicks(TScheduler& scheduler, TDateTime start, int days = 365) {
    TDateTime now = start;
    std::vector<std::string> fired;
    const TClockOverride clock([&] { return now; });
    scheduler.OnSchedule = [&](TScheduler* sender) {
        EXPECT_EQ(sender, &scheduler);
        fired.push_back(Text(now));
    };
    scheduler.SetEnabled(true);
    for (int minute = 0; minute < days * 1440; ++minute) {
        now = start + (minute * 60 + 1) / 86400.0;
        scheduler.TimerTick();
    }
    scheduler.SetEnabled(false);
    scheduler.OnSchedule = nullptr;
    return fired;
}

// Every day from first to last (inclusive) that passes the test, at the time.
template <class TTest>
std::vector<std::string> Days(TDateTime first, TDateTime last, int hour, TTest test) {
    std::vector<std::string> days;
    for (TDateTime day = first; day <= last; day += 1)
        if (test(day)) days.push_back(Text(day + EncodeTime(hour, 0, 0, 0)));
    return days;
}

int IsoWeekday(TDateTime day) {
    return (DayOfWeek(day) + 5) % 7 + 1;
}

} // namespace

TEST(TSchedulerDue, EveryAndHourlyCountFromTheLastRunAndZeroNeverFires) {
    TScheduler every;
    every.Kind = skEvery;
    every.EveryMinutes = 90;
    const auto everyRuns = RunTicks(every, At(2027, 1, 1), 10);
    ASSERT_EQ(everyRuns.size(), 159u);
    EXPECT_EQ(everyRuns[0], "2027-01-01 01:30");
    EXPECT_EQ(everyRuns[1], "2027-01-01 03:00");

    TScheduler hourly;
    hourly.Kind = skHourly;
    hourly.HourlyHours = 1;
    hourly.HourlyMinutes = 30;
    EXPECT_EQ(RunTicks(hourly, At(2027, 1, 1), 10), everyRuns);

    every.EveryMinutes = 0;
    hourly.HourlyHours = hourly.HourlyMinutes = 0;
    EXPECT_TRUE(RunTicks(every, At(2027, 1, 1), 2).empty());
    EXPECT_TRUE(RunTicks(hourly, At(2027, 1, 1), 2).empty());
}

TEST(TSchedulerDue, DailyFiresAtItsTimeFromTheNextDayOn) {
    TScheduler daily;
    daily.Kind = skDaily;
    daily.DailyTime = EncodeTime(8, 0, 0, 0);
    const auto runs = RunTicks(daily, At(2027, 3, 1, 9));
    EXPECT_EQ(runs, Days(At(2027, 3, 2), At(2028, 2, 29), 8, [](TDateTime) { return true; }));

    daily.DailyDays = 2;
    const auto everyOther = RunTicks(daily, At(2027, 3, 1, 9), 30);
    ASSERT_FALSE(everyOther.empty());
    EXPECT_EQ(everyOther[0], "2027-03-03 08:00");
    EXPECT_EQ(everyOther.size(), 15u);

    daily.DailyDays = 0;
    EXPECT_TRUE(RunTicks(daily, At(2027, 3, 1, 9), 5).empty());
}

// A program started every morning and closed every evening, each start loading what
// the last close saved: "Daily at 12:00" fires every day, and so does a weekly
// schedule on every day and a monthly one on the day of the week's start.
TEST(TSchedulerDue, SchedulesFireOnTheDayOfAStartWhoseMomentIsStillAhead) {
    for (const uint8_t kind : {skDaily, skWeekly, skMonthly}) {
        TScheduler first;
        first.Kind = kind;
        first.DailyTime = first.WeeklyTime = first.MonthlyTime = EncodeTime(12, 0, 0, 0);
        first.WeeklyDays.fill(true);
        first.MonthlyDay = 3;
        first.SetEnabled(true);
        TXMLDocument doc;
        first.SaveToXML(doc.CreateDocumentElement("Configuration"));
        std::vector<std::string> fired;
        for (int day = 1; day <= 7; ++day) {
            const TDateTime morning = At(2027, 3, day, 8);
            TDateTime now = morning;
            const TClockOverride clock([&] { return now; });
            TScheduler program;
            program.LoadFromXML(doc.DocumentElement());
            program.OnSchedule = [&](TScheduler*) { fired.push_back(Text(now)); };
            ASSERT_TRUE(program.Enabled());
            for (int minute = 0; minute < 10 * 60; ++minute) {
                now = morning + (minute * 60 + 1) / 86400.0;
                program.TimerTick();
            }
            program.OnSchedule = nullptr;
            doc.DocumentElement().RemoveChild(doc.DocumentElement().FindNode("Scheduler"));
            program.SaveToXML(doc.DocumentElement());
        }
        if (kind == skMonthly)
            EXPECT_EQ(fired, std::vector<std::string>{"2027-03-03 12:00"});
        else
            EXPECT_EQ(fired,
                      Days(At(2027, 3, 1), At(2027, 3, 7), 12, [](TDateTime) { return true; }))
                << int{kind};
    }
}

TEST(TSchedulerDue, WeeklyFiresOnEveryChosenDay) {
    TScheduler weekly;
    weekly.Kind = skWeekly;
    weekly.WeeklyTime = EncodeTime(8, 0, 0, 0);
    weekly.WeeklyDays[0] = weekly.WeeklyDays[3] = true; // Monday, Thursday
    const TDateTime start = At(2027, 1, 4, 10);         // a Monday
    EXPECT_EQ(RunTicks(weekly, start), Days(At(2027, 1, 5), At(2028, 1, 4), 8, [](TDateTime d) {
                  return IsoWeekday(d) == 1 || IsoWeekday(d) == 4;
              }));

    weekly.WeeklyWeeks = 2;
    weekly.WeeklyDays[3] = false;
    const auto fortnightly = RunTicks(weekly, start, 60);
    EXPECT_EQ(fortnightly, (std::vector<std::string>{"2027-01-18 08:00", "2027-02-01 08:00",
                                                     "2027-02-15 08:00", "2027-03-01 08:00"}));
}

TEST(TSchedulerDue, MonthlyOnADayFiresInEveryMonthThatHasIt) {
    TScheduler monthly;
    monthly.Kind = skMonthly;
    monthly.MonthlyTime = EncodeTime(8, 0, 0, 0);
    const auto firsts = RunTicks(monthly, At(2027, 1, 15));
    EXPECT_EQ(firsts, Days(At(2027, 1, 15), At(2028, 1, 14), 8, [](TDateTime d) {
                  int y, m, day;
                  DecodeDate(d, y, m, day);
                  return day == 1;
              }));

    monthly.MonthlyDay = 31;
    const auto lasts = RunTicks(monthly, At(2027, 1, 15));
    ASSERT_EQ(lasts.size(), 7u); // Jan, Mar, May, Jul, Aug, Oct, Dec: none in February
    EXPECT_EQ(lasts[0], "2027-01-31 08:00");
    EXPECT_EQ(lasts[1], "2027-03-31 08:00");

    // The day still ahead in the month the count starts in is its first run.
    monthly.MonthlyDay = 15;
    monthly.MonthlyTime = EncodeTime(10, 0, 0, 0);
    EXPECT_EQ(RunTicks(monthly, At(2027, 3, 1, 9), 50)[0], "2027-03-15 10:00");
    EXPECT_EQ(RunTicks(monthly, At(2027, 3, 15, 11), 50)[0], "2027-04-15 10:00");
}

TEST(TSchedulerDue, MonthlyOnTheFirstAndLastWeekdayLandsOnTheRightDates) {
    TScheduler monthly;
    monthly.Kind = skMonthly;
    monthly.MonthlyAtDay = false;
    monthly.MonthlyTime = EncodeTime(8, 0, 0, 0);
    monthly.MonthlyMonths.fill(true);
    monthly.MonthlyDayIndexOf = 1;
    monthly.MonthlyDayOf = 5; // Friday
    const std::vector<int> firstFridays = {1, 5, 5, 2, 7, 4, 2, 6, 3, 1, 5, 3};
    const std::vector<int> lastSundays = {31, 28, 28, 25, 30, 27, 25, 29, 26, 31, 28, 26};
    std::vector<std::string> expected;
    for (int month = 1; month <= 12; ++month)
        expected.push_back(Text(At(2027, month, firstFridays[month - 1], 8)));
    EXPECT_EQ(RunTicks(monthly, At(2026, 12, 20)), expected);

    monthly.MonthlyDayIndexOf = 5;
    monthly.MonthlyDayOf = 7;
    expected.clear();
    for (int month = 1; month <= 12; ++month)
        expected.push_back(Text(At(2027, month, lastSundays[month - 1], 8)));
    EXPECT_EQ(RunTicks(monthly, At(2026, 12, 31)), expected);

    monthly.MonthlyMonths.fill(false);
    monthly.MonthlyMonths[0] = monthly.MonthlyMonths[6] = true;
    EXPECT_EQ(RunTicks(monthly, At(2026, 12, 31)),
              (std::vector<std::string>{"2027-01-31 08:00", "2027-07-25 08:00"}));
}

TEST(TSchedulerDue, OnceFiresOnlyForAMomentAfterTheStart) {
    TScheduler once;
    once.Kind = skOnce;
    once.OnceDate = At(2027, 1, 2, 12);
    EXPECT_EQ(RunTicks(once, At(2027, 1, 1), 5), std::vector<std::string>{"2027-01-02 12:00"});
    EXPECT_TRUE(RunTicks(once, At(2027, 1, 3), 5).empty());

    once.Kind = 6;
    EXPECT_TRUE(RunTicks(once, At(2027, 1, 1), 5).empty());
}

TEST(TSchedulerXML, AllValuesRoundTrip) {
    TScheduler saved;
    saved.Kind = skMonthly;
    saved.OnceDate = At(2027, 5, 6, 7, 8);
    saved.EveryMinutes = 25;
    saved.HourlyHours = 3;
    saved.HourlyMinutes = 45;
    saved.DailyDays = 4;
    saved.DailyTime = EncodeTime(8, 30, 0, 0);
    saved.WeeklyWeeks = 2;
    saved.WeeklyTime = EncodeTime(9, 15, 0, 0);
    saved.WeeklyDays[6] = true;
    saved.MonthlyTime = EncodeTime(23, 59, 59, 0);
    saved.MonthlyAtDay = false;
    saved.MonthlyDay = 31;
    saved.MonthlyDayIndexOf = 5;
    saved.MonthlyDayOf = 7;
    saved.MonthlyMonths[11] = true;
    TXMLDocument doc;
    TXMLNode root = doc.CreateDocumentElement("Configuration");
    saved.SaveToXML(root);
    const TXMLNode element = root.FindNode("Scheduler");
    EXPECT_EQ(element.AttributeNames(),
              (std::vector<std::string>{"Enabled", "Inverval", "LastRun"}));
    std::vector<std::string> children;
    for (const TXMLNode& child : element.ChildNodes())
        children.push_back(child.NodeName());
    EXPECT_EQ(children,
              (std::vector<std::string>{"Once", "Every", "Hourly", "Daily", "Weekly", "Monthly"}));
    EXPECT_EQ(element.FindNode("Weekly").Attribute("Sunday"), "True");

    TScheduler loaded;
    loaded.LoadFromXML(root);
    TXMLDocument again;
    loaded.SaveToXML(again.CreateDocumentElement("Configuration"));
    EXPECT_EQ(again.XML(), doc.XML());
}

TEST(TSchedulerXML, LoadingEnabledKeepsTheLastRun) {
    TXMLDocument doc;
    TXMLNode root = doc.CreateDocumentElement("Configuration");
    TScheduler saved;
    saved.SetEnabled(true);
    saved.LastRun = At(2027, 1, 1, 10);
    saved.SaveToXML(root);
    TScheduler loaded;
    const TClockOverride clock([] { return At(2027, 2, 3, 8); });
    loaded.LoadFromXML(root);
    EXPECT_TRUE(loaded.Enabled());
    EXPECT_EQ(loaded.LastRun, At(2027, 1, 1, 10));
}

TEST(TSchedulerXML, AMissingElementEndsTheLoadAndLeavesTheScheduleOff) {
    TXMLDocument doc;
    doc.LoadFromXML("<Configuration><Scheduler Enabled=\"True\" Inverval=\"3\" "
                    "LastRun=\"not a date\"><Once Date=\"01/02/2027\"/></Scheduler>"
                    "</Configuration>");
    TScheduler scheduler;
    scheduler.LastRun = 7;
    scheduler.EveryMinutes = 99;
    EXPECT_ANY_THROW(scheduler.LoadFromXML(doc.DocumentElement()));
    EXPECT_EQ(scheduler.Kind, skDaily);
    EXPECT_EQ(scheduler.LastRun, 7);
    EXPECT_EQ(scheduler.OnceDate, EncodeDate(2027, 1, 2));
    EXPECT_EQ(scheduler.EveryMinutes, 99);
    EXPECT_FALSE(scheduler.Enabled());
}

TEST(TSchedulerState, TheTimerChecksWhileMessagesRunExactlyWhileEnabled) {
    TScheduler scheduler;
    EXPECT_FALSE(scheduler.Timer->Enabled());
    scheduler.Kind = skEvery;
    scheduler.EveryMinutes = 1;
    int calls = 0;
    const TClockOverride clock([&] { return At(2027, 1, 1) + ++calls / 1440.0; });
    int fired = 0;
    scheduler.OnSchedule = [&](TScheduler*) { ++fired; };
    scheduler.SetEnabled(true);
    EXPECT_TRUE(scheduler.Timer->Enabled());
    EXPECT_TRUE(PumpUntil([&] { return fired > 0; }));
    scheduler.SetEnabled(false);
    EXPECT_FALSE(scheduler.Timer->Enabled());
}
