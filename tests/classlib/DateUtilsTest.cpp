#include "classlib/base/DateUtils.h"
#include "classlib/base/Exceptions.h"
#include <gtest/gtest.h>

namespace {

// Applies the settings the program uses and restores the previous ones.
class DateUtilsTest : public testing::Test {
protected:
    void SetUp() override {
        FSaved = FormatSettings();
        FormatSettings() = TFormatSettings(); // English names, "/" and ":"
        FormatSettings().ShortDateFormat = "mm/dd/yyyy";
    }
    void TearDown() override { FormatSettings() = FSaved; }
    TFormatSettings FSaved;
};

const TDateTime kSample = 45356 + (((14 * 60 + 7) * 60 + 9) * 1000 + 45) / 86400000.0; // 2024-03-05

} // namespace

// The settings come from the user locale: formatting must agree with the platform's.
TEST(DateUtils, LocaleSettingsFormatLikeThePlatform) {
    const SYSTEMTIME st = DateTimeToSystemTime(kSample);
    char text[128];
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, text, sizeof text);
    EXPECT_EQ(TimeToStr(kSample), text);
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text);
    EXPECT_EQ(DateToStr(kSample), text);
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &st, "dddd ddd MMMM MMM", text, sizeof text);
    EXPECT_EQ(FormatDateTime("dddd ddd mmmm mmm", kSample), text);
    GetNumberFormatA(LOCALE_USER_DEFAULT, 0, "1.5", nullptr, text, sizeof text);
    EXPECT_EQ(text[1], FormatSettings().DecimalSeparator);
}

TEST(DateUtils, CalendarArithmetic) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_EQ(EncodeDate(2024, 3, 5), 45356);
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_EQ(DayOfWeek(EncodeDate(2000, 1, 1)), 7);
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3)), 1);
    EXPECT_EQ(DaysInAMonth(1900, 2), 28);
    EXPECT_EQ(DaysInAMonth(2000, 2), 29);
    EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 31) + 0.5, 1), EncodeDate(2024, 2, 29) + 0.5);
    EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 15), -13), EncodeDate(2022, 12, 15));

    int y, m, d, h, n, s, ms;
    DecodeDate(kSample, y, m, d);
    DecodeTime(kSample, h, n, s, ms);
    EXPECT_EQ((std::vector<int>{y, m, d, h, n, s, ms}),
              (std::vector<int>{2024, 3, 5, 14, 7, 9, 45}));
    DecodeTime(EncodeDate(2024, 3, 5) + 0.9999999999, h, n, s, ms); // rounds into the next day
    DecodeDate(EncodeDate(2024, 3, 5) + 0.9999999999, y, m, d);
    EXPECT_EQ((std::vector<int>{d, h, n, s}), (std::vector<int>{6, 0, 0, 0}));

    SYSTEMTIME st = DateTimeToSystemTime(kSample);
    EXPECT_EQ(st.wDayOfWeek, 2);
    EXPECT_DOUBLE_EQ(SystemTimeToDateTime(st), kSample);
}

TEST_F(DateUtilsTest, FormatCodes) {
    EXPECT_EQ(FormatDateTime("mm/dd/yyyy", kSample), "03/05/2024");
    EXPECT_EQ(FormatDateTime("d/m/yy", kSample), "5/3/24");
    EXPECT_EQ(FormatDateTime("hh:mm", kSample), "14:07"); // "m" after an hour is minutes
    EXPECT_EQ(FormatDateTime("h:nn:ss AMPM", kSample), "2:07:09 PM");
    EXPECT_EQ(FormatDateTime("h:nn am/pm", kSample), "2:07 pm");
    EXPECT_EQ(FormatDateTime("hh A/P", EncodeDate(2024, 1, 1)), "12 A");
    EXPECT_EQ(FormatDateTime("dddd, mmmm d; ddd mmm", kSample), "Tuesday, March 5; Tue Mar");
    EXPECT_EQ(FormatDateTime("'at' hh \"o'clock\" s.zzz z", kSample), "at 14 o'clock 9.045 45");
    FormatSettings().DateSeparator = '-';
    FormatSettings().TimeSeparator = '.';
    EXPECT_EQ(FormatDateTime("mm/dd hh:nn", kSample), "03-05 14.07");
}

TEST_F(DateUtilsTest, TextForms) {
    EXPECT_EQ(DateToStr(kSample), "03/05/2024");
    EXPECT_EQ(TimeToStr(kSample), "2:07:09 PM");
    EXPECT_EQ(DateTimeToStr(kSample), "03/05/2024 2:07:09 PM");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5)), "03/05/2024");
}

TEST_F(DateUtilsTest, ParsingFollowsTheSettings) {
    EXPECT_EQ(StrToDate("03/05/2024"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate(" 3/5/24 "), EncodeDate(2024, 3, 5));
    int year, m, d;
    DecodeDate(Date(), year, m, d);
    EXPECT_EQ(StrToDate("3/5"), EncodeDate(year, 3, 5));
    EXPECT_THROW(StrToDate("13/05/2024"), EConvertError);
    EXPECT_THROW(StrToDate("03/05/2024x"), EConvertError);

    FormatSettings().ShortDateFormat = "dd.mm.yyyy";
    FormatSettings().DateSeparator = '.';
    EXPECT_EQ(StrToDate("05.03.2024"), EncodeDate(2024, 3, 5));

    EXPECT_DOUBLE_EQ(StrToTime("2:07:09 PM"), EncodeTime(14, 7, 9, 0));
    EXPECT_DOUBLE_EQ(StrToTime("12:00 am"), 0);
    EXPECT_DOUBLE_EQ(StrToTime("12:30 PM"), EncodeTime(12, 30, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("23:59"), EncodeTime(23, 59, 0, 0));
    EXPECT_THROW(StrToTime("25:00"), EConvertError);
    EXPECT_THROW(StrToTime("13:00 PM"), EConvertError);
    TDateTime out;
    EXPECT_FALSE(TryStrToTime("", out));
}

TEST_F(DateUtilsTest, DateTimeRoundTripKeepsSeconds) {
    TDateTime back = StrToDateTime(DateTimeToStr(kSample));
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", back), "2024-03-05 14:07:09");
    EXPECT_DOUBLE_EQ(StrToDateTime("03/05/2024"), EncodeDate(2024, 3, 5));
    EXPECT_THROW(StrToDateTime("03/05/2024 99:00"), EConvertError);
}
