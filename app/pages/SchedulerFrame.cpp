#include "app/pages/SchedulerFrame.h"
#include "app/MessageBoxes.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/PlaceControl.h"
#include "classlib/gui/Platform.h"
#include "engine/SharedRoutines.h"
#include <algorithm>

namespace {

TDateTime TimeOfDay(TDateTime value) {
    TDateTime date = 0, time = 0;
    SplitDateTime(value, date, time);
    return time;
}

// The whole number an edit holds; false for anything else.
bool ReadNumber(const std::string& text, int& value) {
    const std::string digits = Trim(text);
    if (digits.empty() || digits.size() > 9) return false;
    for (char c : digits)
        if (c < '0' || c > '9') return false;
    value = std::stoi(digits);
    return true;
}

} // namespace

TTScheduler::TTScheduler(TComponent* owner) : TPageFrame(owner) {
    SetName("TTScheduler1");
    BuildIntervals();
    BuildOnceAndEvery();
    BuildHourlyAndDaily();
    BuildWeekly();
    BuildMonthly();
    BindNumbers();
    const TGrid buttons = PageButtonsAtRight(420, 2);
    btnApply = Place<TButton>(this, this, "btnApply", "&Apply", buttons.Cell(0, 0));
    btnApply->OnClick = [this](TObject*) { SaveSettings(); };
    btnDefault = Place<TButton>(this, this, "btnDefault", "&Default", buttons.Cell(1, 0));
    btnDefault->OnClick = [this](TObject*) { RestoreDefaults(); };
}

void TTScheduler::BindNumbers() {
    FNumbers = {
        {edEveryMinutes, spinEveryMinutes, 1, 99999, "Every: minutes", &TScheduler::EveryMinutes},
        {edHourlyHour, spinHourlyHour, 1, 12, "Hourly: hours", &TScheduler::HourlyHours},
        {edHourlyMinutes, spinHourlyMinutes, 0, 59, "Hourly: minutes after the hour",
         &TScheduler::HourlyMinutes},
        {edDailyDays, spinDailyDays, 1, 31, "Daily: days", &TScheduler::DailyDays},
        {edWeeklyWeeks, spinWeeklyWeeks, 1, 53, "Weekly: weeks", &TScheduler::WeeklyWeeks},
        {edMonthlyAtDay, spinMonthlyAtDay, 1, 31, "Monthly: day", &TScheduler::MonthlyDay},
    };
    for (const TNumber& number : FNumbers) {
        // The arrows span the whole range, so that an up-down made on the page's first
        // show puts no other value into its edit than the one loaded.
        number.Spin->SetMin(number.Min);
        number.Spin->SetMax(number.Max);
        number.Edit->OnKeyPress = [](TObject*, wchar_t& key) {
            // Only digits and backspace are ASCII here; every other key is dropped.
            key = key < 0x80 ? static_cast<wchar_t>(DigitKeyFilter(static_cast<char>(key))) : 0;
        };
    }
}

void TTScheduler::ShowIntervalDetails(int kind) {
    for (int i = 0; i < 6; ++i)
        DetailGroups[i]->SetVisible(i == kind);
}

void TTScheduler::LoadSettings() {
    const TScheduler& s = *Engine->Scheduler;
    chkEnableScheduler->SetChecked(s.Enabled());
    if (s.Kind < IntervalButtons.size()) IntervalButtons[s.Kind]->SetChecked(true);
    ShowIntervalDetails(s.Kind);
    edOnceStartDate->SetDateTime(s.OnceDate);
    edOnceStartTime->SetDateTime(s.OnceDate);
    for (const TNumber& number : FNumbers) {
        // Shown as the nearest end of the range when outside it.
        const int value = std::clamp(s.*number.Field, number.Min, number.Max);
        number.Spin->SetPosition(value);
        number.Edit->SetText(std::to_string(value));
    }
    edDailyHour->SetDateTime(TimeOfDay(s.DailyTime));
    edWeeklyHour->SetDateTime(TimeOfDay(s.WeeklyTime));
    for (size_t i = 0; i < WeeklyDayBoxes.size(); ++i)
        WeeklyDayBoxes[i]->SetChecked(s.WeeklyDays[i]);
    edMonthlyHour->SetDateTime(TimeOfDay(s.MonthlyTime));
    (s.MonthlyAtDay ? radMonthlyAtDay : radMonthlyAtThe)->SetChecked(true);
    cmbMonthlyDayIndexOf->SetItemIndex(s.MonthlyDayIndexOf - 1);
    cmbMonthlyDayOf->SetItemIndex(s.MonthlyDayOf - 1);
    for (size_t i = 0; i < MonthlyMonthBoxes.size(); ++i)
        MonthlyMonthBoxes[i]->SetChecked(s.MonthlyMonths[i]);
}

const TTScheduler::TNumber* TTScheduler::FirstWrongNumber() const {
    for (const TNumber& number : FNumbers) {
        int value = 0;
        if (!ReadNumber(number.Edit->Text(), value) || value < number.Min || value > number.Max)
            return &number;
    }
    return nullptr;
}

// A weekly or monthly schedule without a day or month it may run on would never fire,
// nor would a one-time schedule switched on for a moment already past.
std::string TTScheduler::MissingChoice() const {
    const auto anyTicked = [](const auto& boxes) {
        return std::any_of(boxes.begin(), boxes.end(),
                           [](TCheckBox* box) { return box->Checked(); });
    };
    if (IntervalButtons[skWeekly]->Checked() && !anyTicked(WeeklyDayBoxes))
        return "Please tick at least one day of the week for the weekly schedule.";
    if (IntervalButtons[skMonthly]->Checked() && radMonthlyAtThe->Checked() &&
        !anyTicked(MonthlyMonthBoxes))
        return "Please tick at least one month for the monthly schedule.";
    if (IntervalButtons[skOnce]->Checked() && chkEnableScheduler->Checked() &&
        OnceMoment() <= ClockQuery())
        return "The one-time schedule is set for a moment that has passed: please choose a "
               "later date or time.";
    return "";
}

bool TTScheduler::SaveSettings() {
    if (const TNumber* wrong = FirstWrongNumber()) {
        ShowError(std::string("Please enter a whole number from ") + std::to_string(wrong->Min) +
                  " to " + std::to_string(wrong->Max) + " for \"" + wrong->Name + "\".");
        if (wrong->Edit->CanFocus()) wrong->Edit->SetFocus();
        return false;
    }
    if (const std::string missing = MissingChoice(); !missing.empty()) {
        ShowError(missing);
        return false;
    }
    TScheduler& s = *Engine->Scheduler;
    s.SetEnabled(chkEnableScheduler->Checked());
    for (size_t kind = 0; kind < IntervalButtons.size(); ++kind)
        if (IntervalButtons[kind]->Checked()) s.Kind = static_cast<uint8_t>(kind);
    s.OnceDate = OnceMoment();
    for (const TNumber& number : FNumbers)
        ReadNumber(number.Edit->Text(), s.*number.Field);
    s.DailyTime = TimeOfDay(edDailyHour->DateTime());
    s.WeeklyTime = TimeOfDay(edWeeklyHour->DateTime());
    s.MonthlyTime = TimeOfDay(edMonthlyHour->DateTime());
    for (size_t i = 0; i < WeeklyDayBoxes.size(); ++i)
        s.WeeklyDays[i] = WeeklyDayBoxes[i]->Checked();
    for (size_t i = 0; i < MonthlyMonthBoxes.size(); ++i)
        s.MonthlyMonths[i] = MonthlyMonthBoxes[i]->Checked();
    s.MonthlyAtDay = radMonthlyAtDay->Checked();
    s.MonthlyDayIndexOf = std::max(1, cmbMonthlyDayIndexOf->ItemIndex() + 1);
    s.MonthlyDayOf = std::max(1, cmbMonthlyDayOf->ItemIndex() + 1);
    return true;
}

TDateTime TTScheduler::OnceMoment() const {
    return CombineDateTime(edOnceStartDate->DateTime(), edOnceStartTime->DateTime());
}

void TTScheduler::RestoreDefaults() {
    Engine->Scheduler->SetDefaults();
    LoadSettings();
}
