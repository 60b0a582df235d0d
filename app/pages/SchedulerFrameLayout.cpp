// The scheduler page's controls, in reading order. The six detail groups share one
// place; only the group of the chosen kind shows.
#include "app/pages/SchedulerFrame.h"
#include "classlib/gui/PlaceControl.h"

namespace {

constexpr int DetailLeft = 136, DetailTop = 32, DetailWidth = 456, DetailHeight = 250;
constexpr int LabelLeft = 16, FieldLeft = 110, NumberWidth = 50;

TLabel* AddLabel(TComponent* owner, TWinControl* parent, const char* name,
                 const std::string& caption, int left, int top, int width = 100) {
    return Place<TLabel>(owner, parent, name, caption, left, top + 4, width, 15);
}

} // namespace

void TTScheduler::BuildIntervals() {
    chkEnableScheduler =
        Place<TCheckBox>(this, this, "chkEnableScheduler", "Enable Scheduler", 8, 8, 200, 17);
    grpIntervals = Place<TGroupBox>(this, this, "grpIntervals", " Intervals ", 8, DetailTop, 120,
                                    DetailHeight);
    const char* names[] = {"radOnce",  "radEvery",  "radHourly",
                           "radDaily", "radWeekly", "radMonthly"};
    const char* captions[] = {"Once", "Every", "Hourly", "Daily", "Weekly", "Monthly"};
    for (int kind = 0; kind < 6; ++kind) {
        IntervalButtons[kind] = Place<TRadioButton>(this, grpIntervals, names[kind], captions[kind],
                                                    12, 22 + kind * 28, 96, 17);
        IntervalButtons[kind]->OnClick = [this, kind](TObject*) { ShowIntervalDetails(kind); };
    }
}

TGroupBox* TTScheduler::AddDetailGroup(int kind, const char* name, const char* caption) {
    DetailGroups[kind] = Place<TGroupBox>(this, this, name, caption, DetailLeft, DetailTop,
                                          DetailWidth, DetailHeight);
    DetailGroups[kind]->SetVisible(kind == 0);
    return DetailGroups[kind];
}

TEdit* TTScheduler::AddNumber(TGroupBox* group, const char* editName, const char* spinName, int top,
                              TUpDown*& spin) {
    auto edit = Place<TEdit>(this, group, editName, "", FieldLeft, top, NumberWidth, 21);
    edit->SetMaxLength(5);
    spin = Place<TUpDown>(this, group, spinName, "", FieldLeft + NumberWidth, top, 16, 21);
    spin->SetAssociate(edit);
    return edit;
}

TDateTimePicker* TTScheduler::AddTimePicker(TGroupBox* group, const char* name, int left, int top) {
    auto picker = Place<TDateTimePicker>(this, group, name, "", left, top, 120, 21);
    picker->SetKind(dtkTime);
    return picker;
}

void TTScheduler::BuildOnceAndEvery() {
    TGroupBox* once = AddDetailGroup(skOnce, "grpOnceDetails", "Once");
    AddLabel(this, once, "lblOnceStartDate", "Start Date:", LabelLeft, 24);
    edOnceStartDate =
        Place<TDateTimePicker>(this, once, "edOnceStartDate", "", FieldLeft, 24, 120, 21);
    AddLabel(this, once, "lblOnceStartTime", "Start Time:", LabelLeft, 54);
    edOnceStartTime = AddTimePicker(once, "edOnceStartTime", FieldLeft, 54);

    TGroupBox* every = AddDetailGroup(skEvery, "grpEveryDetails", "Every");
    AddLabel(this, every, "lblEvery", "Every:", LabelLeft, 24);
    edEveryMinutes = AddNumber(every, "edEveryMinutes", "spinEveryMinutes", 24, spinEveryMinutes);
    AddLabel(this, every, "lblEveryMinutes", "minutes", FieldLeft + 74, 24);
}

void TTScheduler::BuildHourlyAndDaily() {
    TGroupBox* hourly = AddDetailGroup(skHourly, "grpHourlyDetails", "Hourly");
    AddLabel(this, hourly, "lblHourlyEvery", "Every:", LabelLeft, 24);
    edHourlyHour = AddNumber(hourly, "edHourlyHour", "spinHourlyHour", 24, spinHourlyHour);
    AddLabel(this, hourly, "lblHourlyHours", "hours", FieldLeft + 74, 24);
    AddLabel(this, hourly, "lblHourlyAt", "at", LabelLeft, 54);
    edHourlyMinutes =
        AddNumber(hourly, "edHourlyMinutes", "spinHourlyMinutes", 54, spinHourlyMinutes);
    AddLabel(this, hourly, "lblHourlyMinutes", "minutes after the hour", FieldLeft + 74, 54, 160);

    TGroupBox* daily = AddDetailGroup(skDaily, "grpDailyDetails", "Daily");
    AddLabel(this, daily, "lblDailyEvery", "Every:", LabelLeft, 24);
    edDailyDays = AddNumber(daily, "edDailyDays", "spinDailyDays", 24, spinDailyDays);
    AddLabel(this, daily, "lblDailyDays", "days", FieldLeft + 74, 24);
    AddLabel(this, daily, "lblDailyAt", "at", LabelLeft, 54);
    edDailyHour = AddTimePicker(daily, "edDailyHour", FieldLeft, 54);
}

void TTScheduler::BuildWeekly() {
    TGroupBox* weekly = AddDetailGroup(skWeekly, "grpWeeklyDetails", "Weekly");
    AddLabel(this, weekly, "lblWeeklyEvery", "Every:", LabelLeft, 24);
    edWeeklyWeeks = AddNumber(weekly, "edWeeklyWeeks", "spinWeeklyWeeks", 24, spinWeeklyWeeks);
    AddLabel(this, weekly, "lblWeeklyWeeks", "weeks on", FieldLeft + 74, 24);
    AddLabel(this, weekly, "lblWeeklyAt", "at", LabelLeft, 54);
    edWeeklyHour = AddTimePicker(weekly, "edWeeklyHour", FieldLeft, 54);
    const char* names[] = {"chkWeeklyMonday",   "chkWeeklyTuesday", "chkWeeklyWednesday",
                           "chkWeeklyThrusday", "chkWeeklyFriday",  "chkWeeklySaturday",
                           "chkWeeklySunday"};
    const char* captions[] = {"Monday", "Tuesday",  "Wednesday", "Thrusday",
                              "Friday", "Saturday", "Sunday"};
    for (int i = 0; i < 7; ++i)
        WeeklyDayBoxes[i] = Place<TCheckBox>(this, weekly, names[i], captions[i],
                                             LabelLeft + (i % 4) * 104, 90 + (i / 4) * 24, 100, 17);
}

void TTScheduler::BuildMonthly() {
    TGroupBox* monthly = AddDetailGroup(skMonthly, "grpMonthlyDetails", "Montly");
    AddLabel(this, monthly, "lblMonthlyStartTime", "Start Time:", LabelLeft, 24);
    edMonthlyHour = AddTimePicker(monthly, "edMonthlyHour", FieldLeft, 24);
    radMonthlyAtDay =
        Place<TRadioButton>(this, monthly, "radMonthlyAtDay", "Day", LabelLeft, 58, 60, 17);
    edMonthlyAtDay = AddNumber(monthly, "edMonthlyAtDay", "spinMonthlyAtDay", 56, spinMonthlyAtDay);
    radMonthlyAtThe =
        Place<TRadioButton>(this, monthly, "radMonthlyAtThe", "The", LabelLeft, 88, 60, 17);
    cmbMonthlyDayIndexOf =
        Place<TComboBox>(this, monthly, "cmbMonthlyDayIndexOf", "", FieldLeft, 86, 90, 21);
    cmbMonthlyDayOf =
        Place<TComboBox>(this, monthly, "cmbMonthlyDayOf", "", FieldLeft + 96, 86, 100, 21);
    for (TComboBox* combo : {cmbMonthlyDayIndexOf, cmbMonthlyDayOf})
        combo->SetStyle(csDropDownList);
    for (const char* item : {"first", "second", "third", "fourth", "last"})
        cmbMonthlyDayIndexOf->Items().Add(item);
    for (const char* item :
         {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturady", "Sunday"})
        cmbMonthlyDayOf->Items().Add(item);
    AddLabel(this, monthly, "lblMonthlyOfTheMonths", "of the month(s)", FieldLeft + 204, 86, 120);
    BuildMonthlyMonths(monthly);
}

void TTScheduler::BuildMonthlyMonths(TGroupBox* group) {
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < 12; ++i) {
        const std::string name = std::string("chkMonthly") + months[i];
        MonthlyMonthBoxes[i] =
            Place<TCheckBox>(this, group, name.c_str(), months[i], LabelLeft + (i % 6) * 70,
                             124 + (i / 6) * 24, 64, 17);
    }
}
