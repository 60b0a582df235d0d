// Damaged "Scheduler" elements of "prefs.dat" through the scheduler's reader: each is
// read or refused with an error that leaves the schedule off, and the due test then
// answers at once for any moment.
#include "classlib/base/Exceptions.h"
#include "classlib/base/XMLDoc.h"
#include "engine/tools/Scheduler.h"
#include "support/ClockOverride.h"
#include "support/DamagedInput.h"
#include <gtest/gtest.h>

namespace {

std::string SeedOf(uint8_t kind, bool atDay) {
    TScheduler scheduler;
    scheduler.Kind = kind;
    scheduler.LastRun = EncodeDate(2026, 3, 1) + EncodeTime(9, 30, 0, 0);
    scheduler.OnceDate = EncodeDate(2026, 12, 24) + EncodeTime(18, 0, 0, 0);
    scheduler.WeeklyDays = {true, false, true, false, false, false, true};
    scheduler.MonthlyAtDay = atDay;
    scheduler.MonthlyDay = 31;
    scheduler.MonthlyDayIndexOf = 5;
    scheduler.MonthlyMonths[1] = true;
    scheduler.SetEnabled(true);
    TXMLDocument doc;
    scheduler.SaveToXML(doc.CreateDocumentElement("Configuration"));
    return doc.XML();
}

} // namespace

TEST(SchedulerDamaged, EveryDamagedScheduleIsReadOrLeftOff) {
    TDamagedRun run("scheduler", 7000000, 10000);
    run.Seeds = {SeedOf(skWeekly, true), SeedOf(skMonthly, false), SeedOf(skEvery, true)};
    const TDateTime now = EncodeDate(2026, 12, 7) + EncodeTime(23, 59, 59, 0);

    run.Run([&](const std::string& damaged, uint32_t) {
        TXMLDocument doc;
        try {
            doc.LoadFromXML(damaged);
        } catch (const EXMLDocError& e) {
            EXPECT_FALSE(e.Message().empty());
            return;
        }
        TScheduler scheduler;
        const TClockOverride clock([&] { return now; });
        try {
            scheduler.LoadFromXML(doc.DocumentElement());
        } catch (const Exception& e) { // EConvertError, EXMLDocError
            EXPECT_FALSE(e.Message().empty());
            EXPECT_FALSE(scheduler.Enabled());
        }
        // Switched on as the page would, then asked over some years of moments.
        scheduler.SetEnabled(true);
        scheduler.LastRun = now;
        for (double days : {0.0, 0.5, 1.0, 7.0, 31.0, 400.0, 3000.0})
            (void)scheduler.IsDue(now + days);
        scheduler.SetEnabled(false);
    });
}
