// The scheduler page's controls, in reading order. The six detail groups share one
// place; only the group of the chosen kind shows.
#include "app/pages/SchedulerFrame.h"
#include "classlib/gui/PlaceControl.h"

using namespace Layout;

namespace {

// The intervals group on the left, the detail groups beside it.
constexpr TBounds IntervalsGroup{Margin, 32, 120, 250};
constexpr TBounds DetailGroup = IntervalsGroup.After(Margin, 456);
// Inside a detail group: rows of a label, a field and the field's unit.
constexpr int LabelLeft = 16, FieldLeft = 110, NumberWidth = 50, UnitLeft = FieldLeft + 74;
constexpr TTrack DetailRows{24, EditHeight, 9};

TLabel* AddLabel(TComponent* owner, TWinControl* parent, const char* name,
                 const std::string& caption, int left, int top, int width = 100) {
    return Place<TLabel>(owner, parent, name, caption, {left, top + LabelDrop, width, LabelHeight});
}

} // namespace

void TTScheduler::BuildIntervals() {
    chkEnableScheduler = Place<TCheckBox>(this, this, "chkEnableScheduler", "Enable Scheduler",
                                          {Margin, Margin, 200, CheckHeight});
    grpIntervals = Place<TGroupBox>(this, this, "grpIntervals", " Intervals ", IntervalsGroup);
    const TGrid buttons = Down(12, 22, 96, CheckHeight, 11);
    const char* names[] = {"radOnce",  "radEvery",  "radHourly",
                           "radDaily", "radWeekly", "radMonthly"};
    const char* captions[] = {"Once", "Every", "Hourly", "Daily", "Weekly", "Monthly"};
    for (int kind = 0; kind < 6; ++kind) {
        IntervalButtons[kind] = Place<TRadioButton>(this, grpIntervals, names[kind], captions[kind],
                                                    buttons.Cell(0, kind));
        IntervalButtons[kind]->OnClick = [this, kind](TObject*) { ShowIntervalDetails(kind); };
    }
}

TGroupBox* TTScheduler::AddDetailGroup(int kind, const char* name, const char* caption) {
    DetailGroups[kind] = Place<TGroupBox>(this, this, name, caption, DetailGroup);
    DetailGroups[kind]->SetVisible(kind == 0);
    return DetailGroups[kind];
}

TEdit* TTScheduler::AddNumber(TGroupBox* group, const char* editName, const char* spinName, int top,
                              TUpDown*& spin) {
    const TBounds number{FieldLeft, top, NumberWidth, EditHeight};
    auto edit = Place<TEdit>(this, group, editName, "", number);
    edit->SetMaxLength(5);
    spin = Place<TUpDown>(this, group, spinName, "", number.After(0, 16));
    spin->SetAssociate(edit);
    return edit;
}

TDateTimePicker* TTScheduler::AddTimePicker(TGroupBox* group, const char* name, int left, int top) {
    auto picker = Place<TDateTimePicker>(this, group, name, "", {left, top, 120, EditHeight});
    picker->SetKind(dtkTime);
    return picker;
}

void TTScheduler::BuildOnceAndEvery() {
    TGroupBox* once = AddDetailGroup(skOnce, "grpOnceDetails", "Once");
    AddLabel(this, once, "lblOnceStartDate", "Start Date:", LabelLeft, DetailRows.At(0));
    edOnceStartDate = Place<TDateTimePicker>(this, once, "edOnceStartDate", "",
                                             {FieldLeft, DetailRows.At(0), 120, EditHeight});
    AddLabel(this, once, "lblOnceStartTime", "Start Time:", LabelLeft, DetailRows.At(1));
    edOnceStartTime = AddTimePicker(once, "edOnceStartTime", FieldLeft, DetailRows.At(1));

    TGroupBox* every = AddDetailGroup(skEvery, "grpEveryDetails", "Every");
    AddLabel(this, every, "lblEvery", "Every:", LabelLeft, DetailRows.At(0));
    edEveryMinutes =
        AddNumber(every, "edEveryMinutes", "spinEveryMinutes", DetailRows.At(0), spinEveryMinutes);
    AddLabel(this, every, "lblEveryMinutes", "minutes", UnitLeft, DetailRows.At(0));
}

void TTScheduler::BuildHourlyAndDaily() {
    TGroupBox* hourly = AddDetailGroup(skHourly, "grpHourlyDetails", "Hourly");
    AddLabel(this, hourly, "lblHourlyEvery", "Every:", LabelLeft, DetailRows.At(0));
    edHourlyHour =
        AddNumber(hourly, "edHourlyHour", "spinHourlyHour", DetailRows.At(0), spinHourlyHour);
    AddLabel(this, hourly, "lblHourlyHours", "hours", UnitLeft, DetailRows.At(0));
    AddLabel(this, hourly, "lblHourlyAt", "at", LabelLeft, DetailRows.At(1));
    edHourlyMinutes = AddNumber(hourly, "edHourlyMinutes", "spinHourlyMinutes", DetailRows.At(1),
                                spinHourlyMinutes);
    AddLabel(this, hourly, "lblHourlyMinutes", "minutes after the hour", UnitLeft, DetailRows.At(1),
             160);

    TGroupBox* daily = AddDetailGroup(skDaily, "grpDailyDetails", "Daily");
    AddLabel(this, daily, "lblDailyEvery", "Every:", LabelLeft, DetailRows.At(0));
    edDailyDays = AddNumber(daily, "edDailyDays", "spinDailyDays", DetailRows.At(0), spinDailyDays);
    AddLabel(this, daily, "lblDailyDays", "days", UnitLeft, DetailRows.At(0));
    AddLabel(this, daily, "lblDailyAt", "at", LabelLeft, DetailRows.At(1));
    edDailyHour = AddTimePicker(daily, "edDailyHour", FieldLeft, DetailRows.At(1));
}

void TTScheduler::BuildWeekly() {
    TGroupBox* weekly = AddDetailGroup(skWeekly, "grpWeeklyDetails", "Weekly");
    AddLabel(this, weekly, "lblWeeklyEvery", "Every:", LabelLeft, DetailRows.At(0));
    edWeeklyWeeks =
        AddNumber(weekly, "edWeeklyWeeks", "spinWeeklyWeeks", DetailRows.At(0), spinWeeklyWeeks);
    AddLabel(this, weekly, "lblWeeklyWeeks", "weeks on", UnitLeft, DetailRows.At(0));
    AddLabel(this, weekly, "lblWeeklyAt", "at", LabelLeft, DetailRows.At(1));
    edWeeklyHour = AddTimePicker(weekly, "edWeeklyHour", FieldLeft, DetailRows.At(1));
    const char* names[] = {"chkWeeklyMonday",   "chkWeeklyTuesday", "chkWeeklyWednesday",
                           "chkWeeklyThrusday", "chkWeeklyFriday",  "chkWeeklySaturday",
                           "chkWeeklySunday"};
    const char* captions[] = {"Monday", "Tuesday",  "Wednesday", "Thrusday",
                              "Friday", "Saturday", "Sunday"};
    constexpr TGrid days{{LabelLeft, 100, 4}, {90, CheckHeight, 7}};
    for (int i = 0; i < 7; ++i)
        WeeklyDayBoxes[i] =
            Place<TCheckBox>(this, weekly, names[i], captions[i], days.Cell(i % 4, i / 4));
}

void TTScheduler::BuildMonthly() {
    TGroupBox* monthly = AddDetailGroup(skMonthly, "grpMonthlyDetails", "Montly");
    // The radio buttons stand 2 below the top of their row's fields.
    constexpr int DayTop = 56, TheTop = 86;
    AddLabel(this, monthly, "lblMonthlyStartTime", "Start Time:", LabelLeft, DetailRows.At(0));
    edMonthlyHour = AddTimePicker(monthly, "edMonthlyHour", FieldLeft, DetailRows.At(0));
    radMonthlyAtDay = Place<TRadioButton>(this, monthly, "radMonthlyAtDay", "Day",
                                          {LabelLeft, DayTop + 2, 60, CheckHeight});
    edMonthlyAtDay =
        AddNumber(monthly, "edMonthlyAtDay", "spinMonthlyAtDay", DayTop, spinMonthlyAtDay);
    radMonthlyAtThe = Place<TRadioButton>(this, monthly, "radMonthlyAtThe", "The",
                                          {LabelLeft, TheTop + 2, 60, CheckHeight});
    const TBounds dayIndex{FieldLeft, TheTop, 90, EditHeight};
    cmbMonthlyDayIndexOf = Place<TComboBox>(this, monthly, "cmbMonthlyDayIndexOf", "", dayIndex);
    cmbMonthlyDayOf =
        Place<TComboBox>(this, monthly, "cmbMonthlyDayOf", "", dayIndex.After(6, 100));
    for (TComboBox* combo : {cmbMonthlyDayIndexOf, cmbMonthlyDayOf})
        combo->SetStyle(csDropDownList);
    for (const char* item : {"first", "second", "third", "fourth", "last"})
        cmbMonthlyDayIndexOf->Items().Add(item);
    for (const char* item :
         {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturady", "Sunday"})
        cmbMonthlyDayOf->Items().Add(item);
    AddLabel(this, monthly, "lblMonthlyOfTheMonths", "of the month(s)", FieldLeft + 204, TheTop,
             120);
    BuildMonthlyMonths(monthly);
}

void TTScheduler::BuildMonthlyMonths(TGroupBox* group) {
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    constexpr TGrid boxes{{LabelLeft, 64, 6}, {124, CheckHeight, 7}};
    for (int i = 0; i < 12; ++i) {
        const std::string name = std::string("chkMonthly") + months[i];
        MonthlyMonthBoxes[i] =
            Place<TCheckBox>(this, group, name.c_str(), months[i], boxes.Cell(i % 6, i / 6));
    }
}
