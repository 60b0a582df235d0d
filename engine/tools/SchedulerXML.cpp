// The scheduler's element "Scheduler" in "prefs.dat". The kind's attribute is
// spelled "Inverval" in the file.
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"
#include "engine/settings/XMLValues.h"
#include "engine/tools/Scheduler.h"

namespace {

const char* const DayNames[7] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                 "Friday", "Saturday", "Sunday"};
const char* const MonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Date and time values are read in protected steps: a bad one keeps the old value.
template <class TRead> void ReadProtected(TRead read) {
    try {
        read();
    } catch (const std::exception&) {
        LogSwallowed("ReadProtected");
    }
}

} // namespace

void TScheduler::SaveToXML(TXMLNode Parent) const {
    TXMLNode scheduler = Parent.AddChild("Scheduler");
    scheduler.SetAttribute("Enabled", BoolToXML(FEnabled));
    scheduler.SetAttribute("Inverval", IntToStr(Kind));
    scheduler.SetAttribute("LastRun", DateTimeToStr(LastRun));
    scheduler.AddChild("Once").SetAttribute("Date", DateTimeToStr(OnceDate));
    scheduler.AddChild("Every").SetAttribute("Minutes", IntToStr(EveryMinutes));
    TXMLNode hourly = scheduler.AddChild("Hourly");
    hourly.SetAttribute("Hours", IntToStr(HourlyHours));
    hourly.SetAttribute("Minutes", IntToStr(HourlyMinutes));
    TXMLNode daily = scheduler.AddChild("Daily");
    daily.SetAttribute("Days", IntToStr(DailyDays));
    daily.SetAttribute("Hour", TimeToStr(DailyTime));
    TXMLNode weekly = scheduler.AddChild("Weekly");
    weekly.SetAttribute("Weeks", IntToStr(WeeklyWeeks));
    weekly.SetAttribute("Hour", TimeToStr(WeeklyTime));
    for (int i = 0; i < 7; ++i)
        weekly.SetAttribute(DayNames[i], BoolToXML(WeeklyDays[i]));
    TXMLNode monthly = scheduler.AddChild("Monthly");
    monthly.SetAttribute("Hour", TimeToStr(MonthlyTime));
    monthly.SetAttribute("AtDay", BoolToXML(MonthlyAtDay));
    monthly.SetAttribute("Day", IntToStr(MonthlyDay));
    monthly.SetAttribute("DayIndexOf", IntToStr(MonthlyDayIndexOf));
    monthly.SetAttribute("DayOf", IntToStr(MonthlyDayOf));
    for (int i = 0; i < 12; ++i)
        monthly.SetAttribute(MonthNames[i], BoolToXML(MonthlyMonths[i]));
}

void TScheduler::LoadFromXML(const TXMLNode& Parent) {
    const TXMLNode scheduler = Parent.FindNode("Scheduler");
    if (!scheduler) return;
    Kind = static_cast<uint8_t>(IntAttribute(scheduler, "Inverval"));
    ReadProtected([&] { LastRun = StrToDateTime(scheduler.Attribute("LastRun")); });
    ReadProtected(
        [&] { OnceDate = StrToDateTime(RequiredChild(scheduler, "Once").Attribute("Date")); });
    EveryMinutes = IntAttribute(RequiredChild(scheduler, "Every"), "Minutes");
    const TXMLNode hourly = RequiredChild(scheduler, "Hourly");
    HourlyHours = IntAttribute(hourly, "Hours");
    HourlyMinutes = IntAttribute(hourly, "Minutes");
    const TXMLNode daily = RequiredChild(scheduler, "Daily");
    DailyDays = IntAttribute(daily, "Days");
    ReadProtected([&] { DailyTime = StrToTime(daily.Attribute("Hour")); });
    const TXMLNode weekly = RequiredChild(scheduler, "Weekly");
    WeeklyWeeks = IntAttribute(weekly, "Weeks");
    ReadProtected([&] { WeeklyTime = StrToTime(weekly.Attribute("Hour")); });
    for (int i = 0; i < 7; ++i)
        WeeklyDays[i] = BoolAttribute(weekly, DayNames[i]);
    const TXMLNode monthly = RequiredChild(scheduler, "Monthly");
    ReadProtected([&] { MonthlyTime = StrToTime(monthly.Attribute("Hour")); });
    MonthlyAtDay = BoolAttribute(monthly, "AtDay");
    MonthlyDay = IntAttribute(monthly, "Day");
    MonthlyDayIndexOf = IntAttribute(monthly, "DayIndexOf");
    MonthlyDayOf = IntAttribute(monthly, "DayOf");
    for (int i = 0; i < 12; ++i)
        MonthlyMonths[i] = BoolAttribute(monthly, MonthNames[i]);
    Resume(BoolAttribute(scheduler, "Enabled"));
}
