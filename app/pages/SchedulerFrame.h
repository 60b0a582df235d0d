#pragma once
// The "Scheduler" page: the engine's schedule. It changes the scheduler only on
// "&Apply" (which checks every number first and changes nothing when one is wrong)
// and "&Default". Main thread only.
#include "app/pages/PageFrame.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/DateTimePicker.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/ListBox.h"
#include "classlib/gui/UpDown.h"
#include <array>
#include <vector>

class TTScheduler : public TPageFrame {
public:
    explicit TTScheduler(TComponent* owner);

    void ShowIntervalDetails(int kind); // a kind above 5 hides every group
    void LoadSettings() override;
    // False, with one message, when a number is missing or out of its range, or a
    // weekly schedule has no day or a monthly one no month ticked; the scheduler is
    // then unchanged.
    bool SaveSettings();
    void RestoreDefaults();

    TCheckBox* chkEnableScheduler;
    TGroupBox* grpIntervals;
    std::array<TRadioButton*, 6> IntervalButtons; // radOnce ... radMonthly, by kind
    std::array<TGroupBox*, 6> DetailGroups;       // grpOnceDetails ... grpMonthlyDetails
    TDateTimePicker *edOnceStartDate, *edOnceStartTime;
    TEdit *edEveryMinutes, *edHourlyHour, *edHourlyMinutes, *edDailyDays, *edWeeklyWeeks,
        *edMonthlyAtDay;
    TUpDown *spinEveryMinutes, *spinHourlyHour, *spinHourlyMinutes, *spinDailyDays,
        *spinWeeklyWeeks, *spinMonthlyAtDay;
    TDateTimePicker *edDailyHour, *edWeeklyHour, *edMonthlyHour;
    std::array<TCheckBox*, 7> WeeklyDayBoxes; // chkWeeklyMonday ... chkWeeklySunday
    TRadioButton *radMonthlyAtDay, *radMonthlyAtThe;
    TComboBox *cmbMonthlyDayIndexOf, *cmbMonthlyDayOf;
    std::array<TCheckBox*, 12> MonthlyMonthBoxes; // chkMonthlyJan ... chkMonthlyDec
    TButton *btnApply, *btnDefault;

private:
    // A numeric edit with its up-down control and its range, which the arrows share.
    struct TNumber {
        TEdit* Edit;
        TUpDown* Spin;
        int Min, Max;
        const char* Name; // in the message about a wrong value
        int TScheduler::*Field;
    };

    void BuildIntervals();
    TGroupBox* AddDetailGroup(int kind, const char* name, const char* caption);
    // A numeric edit in the field column with its arrows.
    TEdit* AddNumber(TGroupBox* group, const char* editName, const char* spinName, int top,
                     TUpDown*& spin);
    TDateTimePicker* AddTimePicker(TGroupBox* group, const char* name, int left, int top);
    void BuildOnceAndEvery();
    void BuildHourlyAndDaily();
    void BuildWeekly();
    void BuildMonthly();
    void BuildMonthlyMonths(TGroupBox* group);
    void BindNumbers();
    [[nodiscard]] const TNumber* FirstWrongNumber() const;
    [[nodiscard]] std::string MissingChoice() const; // "" when every kind can fire
    [[nodiscard]] TDateTime OnceMoment() const;      // the date and time pickers' moment

    std::vector<TNumber> FNumbers;
};
